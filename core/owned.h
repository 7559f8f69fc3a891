// Resources released where they are taken: a registry key, a handle, a GDI
// object or a COM pointer closes itself when it goes out of scope.
#pragma once
#include <windows.h>

namespace tov {

template <typename T, auto Close> class Owned {
  T h_{};

 public:
  Owned() = default;
  explicit Owned(T h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  T get() const { return h_; }
  T* put() { reset(); return &h_; }  // releases the old value first
  T release() { T h = h_; h_ = T{}; return h; }
  void reset(T h = T{}) {
    if (h_ && (HANDLE)h_ != INVALID_HANDLE_VALUE) Close(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ && (HANDLE)h_ != INVALID_HANDLE_VALUE; }
};

inline void CloseKey(HKEY k) { RegCloseKey(k); }
inline void CloseHandleOf(HANDLE h) { CloseHandle(h); }
inline void CloseFind(HANDLE h) { FindClose(h); }
inline void DeleteGdiObject(HGDIOBJ o) { DeleteObject(o); }
inline void UnloadModule(HMODULE m) { FreeLibrary(m); }

using RegKey = Owned<HKEY, CloseKey>;
using Handle = Owned<HANDLE, CloseHandleOf>;
using FindHandle = Owned<HANDLE, CloseFind>;
using Module = Owned<HMODULE, UnloadModule>;

template <typename I> class ComPtr {
  I* p_ = nullptr;

 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  I* get() const { return p_; }
  I* operator->() const { return p_; }
  I** put() { reset(); return &p_; }
  void** putVoid() { reset(); return reinterpret_cast<void**>(&p_); }
  void reset() { if (p_) { p_->Release(); p_ = nullptr; } }
  explicit operator bool() const { return p_ != nullptr; }
};

}  // namespace tov
