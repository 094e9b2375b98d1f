#include "vcard/card_load.h"

#include <new>

#include "vcard/card_parser.h"

namespace kontaktel {

namespace {

// What ListLoad reads before it returns: enough to know the file is there.
constexpr size_t kStartBytes = 64 * 1024;

}  // namespace

std::unique_ptr<CardLoad> CardLoad::Open(const wchar_t* path, uint64_t maxSize) {
  std::unique_ptr<CardLoad> load(new (std::nothrow) CardLoad);
  if (!load || !load->file_.Open(path)) return nullptr;
  load->size_ = load->file_.Size();
  if (load->size_ == 0 || load->size_ > maxSize) return nullptr;
  try {
    load->bytes_.bytes.reserve(static_cast<size_t>(load->size_));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (!load->ReadOn(kStartBytes) || load->read_ == 0) return nullptr;
  return load;
}

CardLoad::~CardLoad() = default;

bool CardLoad::ReadOn(size_t count) {
  std::string& bytes = bytes_.bytes;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(count, size_ - read_));
  const size_t at = bytes.size();
  bytes.resize(at + want);
  size_t got = 0;
  while (got < want) {
    const int64_t n = file_.Read(bytes.data() + at + got, want - got);
    if (n < 0) {
      bytes.resize(at + got);
      return false;
    }
    if (n == 0) break;  // the file shrank since it was opened
    got += static_cast<size_t>(n);
  }
  bytes.resize(at + got);
  read_ += got;
  if (got < want) size_ = read_;
  return true;
}

CardLoad::Batch CardLoad::Step(size_t) {
  Batch batch;
  if (done_) return batch;
  try {
    // First version: read the rest, then parse the whole text at once.
    failed_ = !ReadOn(static_cast<size_t>(size_ - read_));
    file_.Close();
    FileText text = DecodeFileTextAndCodePage(bytes_.bytes);
    bytes_.codePage = text.codePage;
    batch.cards = ParseCards(std::move(text.text), text.codePage);
  } catch (const std::bad_alloc&) {
    failed_ = true;
    batch = Batch{};
  }
  done_ = true;
  file_.Close();
  return batch;
}

FileBytes CardLoad::TakeBytes() {
  if (!done_ || failed_) return {};
  return std::move(bytes_);
}

}  // namespace kontaktel
