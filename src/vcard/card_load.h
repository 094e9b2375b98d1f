// Reading a contacts file in pieces: the cards come in batches while the file
// is read and parsed, and together they are exactly the cards that a
// whole-file ParseCards gives, in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "text/file_text.h"
#include "text/platform.h"
#include "text/source_bytes.h"
#include "vcard/card.h"

namespace kontaktel {

class CardLoad {
 public:
  // Opens the file with every sharing flag, checks its size (1 to `maxSize`
  // bytes) and reads its start. Nothing when any of that fails: the caller
  // declines the file as it did before anything was read.
  static std::unique_ptr<CardLoad> Open(const wchar_t* path, uint64_t maxSize = kMaxFileSize);
  ~CardLoad();

  // What one step hands over.
  struct Batch {
    CardSet cards;  // the cards completed since the last step, in file order
    // The cards replace every card handed over before: the whole file read
    // differently from what its start suggested.
    bool replaces = false;
  };

  // Reads and parses on until about `maxCards` cards are complete or the
  // file ends. The cards may be none. Once Done, every further step is empty.
  Batch Step(size_t maxCards = 4096);
  bool Done() const { return done_; }
  // A read error or a failed allocation ended the load early: the cards
  // handed over are those read before it.
  bool Failed() const { return failed_; }

  uint64_t FileSize() const { return size_; }
  uint64_t BytesRead() const { return read_; }

  // Once Done: the file's bytes and the page its text was read in, so that a
  // card can be copied as the file holds it. Empty after a failure.
  FileBytes TakeBytes();

 private:
  CardLoad() = default;
  bool ReadOn(size_t count);

  PlatformFile file_;
  uint64_t size_ = 0;
  uint64_t read_ = 0;
  FileBytes bytes_;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace kontaktel
