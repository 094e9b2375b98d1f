// Kernel objects: thread and event handles, references on a module, and
// global memory with its lock.
#pragma once

#include <windows.h>

#include "win/unique_handle.h"

namespace kontaktel {

struct KernelHandleTraits : Uncounted {
  static void Free(HANDLE handle) { CloseHandle(handle); }
};
// A thread, an event or any other handle closed with CloseHandle.
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;

struct ModuleTraits : Uncounted {
  static void Free(HMODULE module) { FreeLibrary(module); }
};
// A reference on a module (LoadLibrary or GetModuleHandleEx), given back with
// FreeLibrary unless it is handed to FreeLibraryAndExitThread.
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

struct GlobalMemoryTraits : Uncounted {
  static void Free(HGLOBAL memory) { GlobalFree(memory); }
};
// A global memory block until the clipboard or a stream takes it over.
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;

// GlobalLock and GlobalUnlock as one object.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
  ~GlobalLockScope() {
    if (data_ != nullptr) GlobalUnlock(memory_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

}  // namespace kontaktel
