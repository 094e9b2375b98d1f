#include "photo/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kontaktel {

UniqueMemoryStream MemoryStream::Create(std::span<const uint8_t> bytes) {
  try {
    return UniqueMemoryStream(new MemoryStream(std::make_shared<Source>(Source{bytes})));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void MemoryStream::Forget() {
  source_->bytes = {};
}

HRESULT MemoryStream::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ISequentialStream) ||
      IsEqualIID(id, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG MemoryStream::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG MemoryStream::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT MemoryStream::Read(void* buffer, ULONG size, ULONG* read) {
  const std::span<const uint8_t> bytes = source_->bytes;
  ULONG count = 0;
  if (position_ < bytes.size()) {
    count = static_cast<ULONG>(std::min<uint64_t>(size, bytes.size() - position_));
    if (count != 0 && buffer == nullptr) return STG_E_INVALIDPOINTER;
    if (count != 0) std::memcpy(buffer, bytes.data() + position_, count);
    position_ += count;
  }
  if (read != nullptr) *read = count;
  // As a stream over global memory answers: a short read is no error.
  return S_OK;
}

HRESULT MemoryStream::Write(const void*, ULONG, ULONG* written) {
  if (written != nullptr) *written = 0;
  return STG_E_ACCESSDENIED;
}

HRESULT MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  int64_t base = 0;
  switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<int64_t>(position_); break;
    case STREAM_SEEK_END: base = static_cast<int64_t>(source_->bytes.size()); break;
    default: return STG_E_INVALIDFUNCTION;
  }
  const int64_t offset = move.QuadPart;
  // Before the start, or beyond what a position can hold, is refused; past
  // the end is allowed and reads nothing.
  if ((offset > 0 && base > std::numeric_limits<int64_t>::max() - offset) || base + offset < 0) {
    return STG_E_INVALIDFUNCTION;
  }
  position_ = static_cast<uint64_t>(base + offset);
  if (position != nullptr) position->QuadPart = position_;
  return S_OK;
}

HRESULT MemoryStream::SetSize(ULARGE_INTEGER) {
  return STG_E_ACCESSDENIED;
}

HRESULT MemoryStream::CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                             ULARGE_INTEGER* written) {
  if (target == nullptr) return STG_E_INVALIDPOINTER;
  const std::span<const uint8_t> bytes = source_->bytes;
  const uint64_t available = position_ < bytes.size() ? bytes.size() - position_ : 0;
  const auto count = static_cast<ULONG>(
      std::min<uint64_t>({size.QuadPart, available, std::numeric_limits<ULONG>::max()}));
  ULONG done = 0;
  const HRESULT result =
      count == 0 ? S_OK : target->Write(bytes.data() + position_, count, &done);
  position_ += count;
  if (read != nullptr) read->QuadPart = count;
  if (written != nullptr) written->QuadPart = done;
  return result;
}

HRESULT MemoryStream::Commit(DWORD) {
  return S_OK;
}

HRESULT MemoryStream::Revert() {
  return S_OK;
}

HRESULT MemoryStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT MemoryStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT MemoryStream::Stat(STATSTG* stat, DWORD) {
  if (stat == nullptr) return STG_E_INVALIDPOINTER;
  *stat = STATSTG{};
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = source_->bytes.size();
  stat->grfMode = STGM_READ;
  return S_OK;
}

HRESULT MemoryStream::Clone(IStream** clone) {
  if (clone == nullptr) return STG_E_INVALIDPOINTER;
  *clone = nullptr;
  auto* copy = new (std::nothrow) MemoryStream(source_);
  if (copy == nullptr) return E_OUTOFMEMORY;
  copy->position_ = position_;
  *clone = copy;
  return S_OK;
}

}  // namespace kontaktel
