// A read-only COM stream over bytes that stay where the caller keeps them.
// Image decoders seek and read wherever a damaged file's lengths point; this
// stream answers every read at or past the end with nothing, so no decoder can
// read outside the bytes (a stream over an HGLOBAL under Wine copies whatever
// lies after its block).
#pragma once

#include <objidl.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <utility>

namespace kontaktel {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};

class MemoryStream;
using UniqueMemoryStream = std::unique_ptr<MemoryStream, ComRelease>;

class MemoryStream final : public IStream {
 public:
  // A stream at position 0 over `bytes`, which must outlive its use: call
  // Forget before they go, so that a reference someone still holds reads
  // nothing. Null when memory runs out.
  static UniqueMemoryStream Create(std::span<const uint8_t> bytes);

  // From now on the stream and its clones are empty; the bytes are never
  // touched again.
  void Forget();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                       DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                         DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override;

 private:
  // The bytes, shared by a stream and its clones.
  struct Source {
    std::span<const uint8_t> bytes;
  };

  explicit MemoryStream(std::shared_ptr<Source> source) : source_(std::move(source)) {}
  ~MemoryStream() = default;

  std::shared_ptr<Source> source_;
  uint64_t position_ = 0;  // may stand past the end, where reads give nothing
  volatile LONG references_ = 1;
};

}  // namespace kontaktel
