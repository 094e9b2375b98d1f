#include "vcard/card_load.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "text/utf8.h"
#include "vcard/card_parser.h"

namespace kontaktel {

namespace {

// What Open reads before the caller returns to the host.
constexpr size_t kStartBytes = 64 * 1024;
// A step reads at most this many pieces, so that batches keep coming while a
// file of large cards (photos) is read.
constexpr size_t kPiecesPerStep = 8;
constexpr size_t kLargestPiece = size_t{256} << 20;

}  // namespace

std::unique_ptr<CardLoad> CardLoad::Open(const wchar_t* path, uint64_t maxSize,
                                         size_t pieceBytes) {
  try {
    std::unique_ptr<CardLoad> load(new CardLoad);
    if (!load->file_.Open(path)) return nullptr;
    load->size_ = load->file_.Size();
    if (load->size_ == 0 || load->size_ > maxSize || !load->Start(pieceBytes, kStartBytes))
      return nullptr;
    return load;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::unique_ptr<CardLoad> CardLoad::OpenBytes(std::string_view bytes, size_t pieceBytes) {
  std::unique_ptr<CardLoad> load(new CardLoad);
  load->memory_ = bytes;
  load->inMemory_ = true;
  load->size_ = bytes.size();
  // The start is a piece, so that small pieces meet every way a start can go.
  if (load->size_ == 0 || !load->Start(pieceBytes, std::min(kStartBytes, pieceBytes)))
    return nullptr;
  return load;
}

bool CardLoad::Start(size_t pieceBytes, size_t startBytes) {
  pieceBytes_ = pieceLimit_ = std::max<size_t>(pieceBytes, 1);
  std::optional<FileStart> start;
  // A start of blanks, or of fewer bytes than a byte-order mark, tells nothing
  // yet: read on until it does.
  for (size_t want = std::max<size_t>(startBytes, 1); !start; want = unread_.size()) {
    if (!ReadOn(want) || read_ == 0) return false;
    start = ClassifyFileStart(unread_, read_ >= size_);
  }
  // A file read whole already is declined, as before, when nothing of it
  // reads as text (invalid bytes after a UTF-8 mark, half a UTF-16 unit).
  if (read_ >= size_ && DecodeFileTextAndCodePage(unread_).text.empty()) return false;
  pieces_ = *start != FileStart::kOther;
  if (*start == FileStart::kUtf8Mark) unread_.erase(0, 3);
  return true;
}

CardLoad::~CardLoad() = default;

bool CardLoad::ReadOn(size_t count) {
  const size_t want = static_cast<size_t>(std::min<uint64_t>(count, size_ - read_));
  const size_t at = unread_.size();
  unread_.resize(at + want);
  size_t got = 0;
  bool ok = true;
  while (got < want) {
    int64_t n = 0;
    if (inMemory_) {
      n = static_cast<int64_t>(std::min<uint64_t>(want - got, memory_.size() - (read_ + got)));
      std::memcpy(unread_.data() + at + got, memory_.data() + read_ + got, static_cast<size_t>(n));
    } else {
      n = file_.Read(unread_.data() + at + got, want - got);
    }
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<size_t>(n);
  }
  unread_.resize(at + got);
  read_ += got;
  // A file cut shorter since it was opened ends where its bytes end.
  if (ok && got < want) size_ = read_;
  return ok;
}

void CardLoad::Finish(bool failed) {
  failed_ = failed_ || failed;
  done_ = true;
  file_.Close();
  std::string().swap(unread_);
  std::wstring().swap(pending_);
}

void CardLoad::ReadPiece(CardSet& out) {
  // At most a piece of whole lines: the read may end inside a line or a
  // character. A line longer than a piece is taken whole. The first piece is
  // the start Open read, so that the first cards come at once.
  const bool firstPiece = !startParsed_ && !unread_.empty();
  startParsed_ = true;
  bool readOk = firstPiece || unread_.size() >= pieceLimit_ || read_ >= size_ ||
                ReadOn(pieceLimit_);
  size_t cut = 0;
  bool atEnd = false;
  for (;;) {
    const bool allRead = !readOk || read_ >= size_;
    const size_t limit = std::min(unread_.size(), pieceLimit_);
    size_t lineEnd = limit == 0 ? std::string::npos : unread_.find_last_of("\r\n", limit - 1);
    if (lineEnd == std::string::npos) lineEnd = unread_.find_first_of("\r\n", limit);
    cut = lineEnd == std::string::npos ? unread_.size() : lineEnd + 1;
    if (allRead && (lineEnd == std::string::npos || unread_.size() <= pieceLimit_)) {
      cut = unread_.size();
      atEnd = true;
      break;
    }
    if (lineEnd != std::string::npos) break;
    readOk = ReadOn(pieceLimit_);
  }
  // An escape may make the file ISO-2022-JP, which only its whole says.
  if (std::memchr(unread_.data(), 0x1B, cut) != nullptr) return SwitchToWhole();
  // The text goes straight after what the last batch left, into room sized
  // once: the batch takes this string as its text.
  pending_.reserve(pending_.size() + cut);
  if (!AppendUtf8ToWide(unread_.data(), cut, true, pending_)) return SwitchToWhole();
  unread_.erase(0, cut);
  // A read error keeps the cards read before it, the cut one not.
  PartialCards part = ParseCardsBeforeEnd(pending_, kCodePageUtf8, atEnd && readOk);
  if (part.guessedPage) return SwitchToWhole();
  // A card larger than a piece is parsed again with each piece that adds to
  // it: pieces double until it is whole, so that it is parsed about twice.
  pieceLimit_ = part.batch->size() == 0 ? std::min(pieceLimit_ * 2, kLargestPiece) : pieceBytes_;
  out.Add(std::move(part.batch));
  if (atEnd) {
    bytes_ = FileBytes{{}, kCodePageUtf8, true};
    Finish(!readOk);
  }
}

void CardLoad::SwitchToWhole() {
  pieces_ = false;
  replaces_ = handedCards_ > 0;
  std::wstring().swap(pending_);
  unread_.clear();
  read_ = 0;
  if (!inMemory_ && !file_.Rewind()) Finish(true);
}

void CardLoad::StepWhole(Batch& batch, size_t maxCards) {
  if (!wholeText_) {
    const bool readOk = read_ >= size_ || ReadOn(kPiecesPerStep * pieceBytes_);
    if (readOk && read_ < size_) return;  // read on in the next step
    file_.Close();
    wholeReadFailed_ = !readOk;
    FileText text = DecodeFileTextAndCodePage(unread_);
    wholeCodePage_ = text.codePage;
    wholeText_ = std::make_shared<const std::wstring>(std::move(text.text));
    wholeFrom_ = 0;
  }
  PartialCards part = ParseCardsOfText(wholeText_, wholeFrom_, wholeCodePage_, maxCards);
  batch.replaces = replaces_;
  replaces_ = false;
  batch.cards.Add(std::move(part.batch));
  if (wholeFrom_ < wholeText_->size()) return;
  if (!wholeReadFailed_) bytes_ = FileBytes{std::move(unread_), wholeCodePage_, false};
  wholeText_.reset();
  Finish(wholeReadFailed_);
}

CardLoad::Batch CardLoad::Step(size_t maxCards) {
  Batch batch;
  if (done_) return batch;
  try {
    if (pieces_) {
      CardSet out;
      const uint64_t before = read_;
      while (pieces_ && !done_) {
        ReadPiece(out);
        if (out.size() >= maxCards || (handedCards_ == 0 && !out.empty()) ||
            read_ - before >= kPiecesPerStep * pieceBytes_) {
          break;
        }
      }
      if (pieces_) {
        handedCards_ += out.size();
        batch.cards = std::move(out);
        return batch;
      }
    }
    if (!done_) StepWhole(batch, maxCards);
    handedCards_ += batch.cards.size();
  } catch (const std::bad_alloc&) {
    // What was handed over stays; this step's cards are given up.
    batch = Batch{};
    Finish(true);
  }
  return batch;
}

FileBytes CardLoad::TakeBytes() {
  if (!done_ || failed_) return {};
  return std::move(bytes_);
}

}  // namespace kontaktel
