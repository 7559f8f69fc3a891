// Resources released where they are taken: a registry key, a handle, a GDI
// object, an icon, a menu, an image list or a COM pointer closes itself when it goes out of scope.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace tov {

// One owner at a time: a move hands the value on and leaves T{} behind, so
// it is closed exactly once.
template <typename T, auto Close> class Owned {
  T h_{};

 public:
  Owned() = default;
  explicit Owned(T h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) : h_(other.release()) {}
  Owned& operator=(Owned&& other) {
    if (this != &other) reset(other.release());
    return *this;
  }
  T get() const { return h_; }
  T* put() { reset(); return &h_; }  // releases the old value first
  T release() { T h = h_; h_ = T{}; return h; }
  // Closes the value held unless it is h itself, then holds h.
  void reset(T h = T{}) {
    if (h == h_) return;
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
inline void DestroyIconOf(HICON i) { DestroyIcon(i); }
inline void DestroyMenuOf(HMENU m) { DestroyMenu(m); }
inline void DestroyImageListOf(HIMAGELIST l) { ImageList_Destroy(l); }

using RegKey = Owned<HKEY, CloseKey>;
using Handle = Owned<HANDLE, CloseHandleOf>;
using FindHandle = Owned<HANDLE, CloseFind>;
using Module = Owned<HMODULE, UnloadModule>;
using Icon = Owned<HICON, DestroyIconOf>;
using Menu = Owned<HMENU, DestroyMenuOf>;
using ImageList = Owned<HIMAGELIST, DestroyImageListOf>;

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
