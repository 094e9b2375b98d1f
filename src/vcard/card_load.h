// Reading a contacts file in pieces: the cards come in batches while the file
// is read and parsed, and together they are exactly the cards that a
// whole-file ParseCards gives, in the same order.
//
// How a file is read depends on all of its bytes. A file whose start is UTF-8
// is read as UTF-8 piece by piece, each piece converted and parsed as it
// comes, and never held whole. When a later piece is not strict UTF-8, or the
// whole file turns out to be ISO-2022-JP, or a quoted-printable value needed
// the page of the whole file, the file is read again as a whole and its cards
// replace those handed over. Any other file (UTF-16, legacy code pages) is
// read and decoded whole; its cards then come in batches that share its text.
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
  // What one read takes: a piece parses in a few tens of milliseconds.
  static constexpr size_t kPieceBytes = 1 << 20;

  // Opens the file with every sharing flag, checks its size (1 to `maxSize`
  // bytes) and reads its start. Nothing when any of that fails: the caller
  // declines the file as it did before anything was read.
  static std::unique_ptr<CardLoad> Open(const wchar_t* path, uint64_t maxSize = kMaxFileSize,
                                        size_t pieceBytes = kPieceBytes);
  // The same over bytes in memory, as a file would hold them: what the tests
  // and the fuzz target read in pieces of any size.
  static std::unique_ptr<CardLoad> OpenBytes(std::string_view bytes,
                                             size_t pieceBytes = kPieceBytes);
  ~CardLoad();

  // What one step hands over.
  struct Batch {
    CardSet cards;  // the cards completed since the last step, in file order
    // The cards replace every card handed over before: the whole file read
    // differently from what its start suggested.
    bool replaces = false;
  };

  // Reads and parses on until about `maxCards` cards are complete, a few
  // megabytes were read, or the file ends; the first step returns as soon as
  // it has a card. The cards may be none. Once Done, every step is empty.
  Batch Step(size_t maxCards = 4096);
  bool Done() const { return done_; }
  // A read error or a failed allocation ended the load early: the cards
  // handed over are those read before it.
  bool Failed() const { return failed_; }

  uint64_t FileSize() const { return size_; }
  uint64_t BytesRead() const { return read_; }

  // Once Done: what a card needs to be copied as the file holds it (the
  // file's bytes and the page its text was read in). Empty after a failure.
  FileBytes TakeBytes();

 private:
  CardLoad() = default;
  bool Start(size_t pieceBytes, size_t startBytes);
  bool ReadOn(size_t count);
  void ReadPiece(CardSet& out);
  void SwitchToWhole();
  void StepWhole(Batch& batch, size_t maxCards);
  void Finish(bool failed);

  PlatformFile file_;
  std::string_view memory_;  // the bytes read when there is no file
  bool inMemory_ = false;
  uint64_t size_ = 0;
  uint64_t read_ = 0;
  size_t pieceBytes_ = kPieceBytes;
  size_t pieceLimit_ = kPieceBytes;  // the next piece: larger while a card is unfinished
  // Read piece by piece as UTF-8 (else the file is read whole).
  bool pieces_ = false;
  bool startParsed_ = false;  // the start that Open read went to the first piece
  // The whole file's cards replace those handed over from its pieces.
  bool replaces_ = false;
  size_t handedCards_ = 0;  // cards handed over so far
  std::string unread_;      // bytes read and not yet converted (the whole file when read whole)
  std::wstring pending_;    // text not yet in a batch
  // A file read whole: its text, which its batches share, and where the next
  // batch starts in it.
  std::shared_ptr<const std::wstring> wholeText_;
  size_t wholeFrom_ = 0;
  unsigned wholeCodePage_ = 0;
  bool wholeReadFailed_ = false;
  FileBytes bytes_;
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace kontaktel
