// The helper fixture (tests/fixtures/helper_fixture) copied into a folder
// with a space in its name, and its own registration code called directly.
#pragma once
#include <windows.h>

#include <string>

#include "tests/support/registry_state.h"
#include "tests/support/wine_support.h"

namespace helperfixtures {

constexpr char kFixtureClsid[] = "{7E2A9C41-5B3D-4F60-9A1E-0C0FFEE0B40E}";
constexpr char kHelperObjects[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";

inline std::string FixtureKey() { return std::string(kHelperObjects) + "\\" + kFixtureClsid; }
inline std::string FixtureClassKey() { return std::string("CLSID\\") + kFixtureClsid; }

// The copy lives while the object does; its registration is taken away
// with it.
class FixtureCopy {
 public:
  FixtureCopy()
      : folder_(testsupport::TempFilePath("helper fixture dir")),
        dll_(folder_ + "\\helper fixture.dll") {
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyFileA(testsupport::BinPath("helper_fixture.dll").c_str(), dll_.c_str(), FALSE);
  }
  ~FixtureCopy() {
    Unregister();
    DeleteFileA(dll_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  FixtureCopy(const FixtureCopy&) = delete;
  FixtureCopy& operator=(const FixtureCopy&) = delete;
  const std::string& dll() const { return dll_; }
  bool Register() const { return Call("DllRegisterServer"); }
  void Unregister() const {
    testsupport::DeleteKey(HKEY_LOCAL_MACHINE, FixtureKey());
    testsupport::DeleteKey(HKEY_CLASSES_ROOT, FixtureClassKey());
  }

 private:
  bool Call(const char* function) const {
    HMODULE module = LoadLibraryA(dll_.c_str());
    if (!module) return false;
    // Through void(*)(): FARPROC's return type differs from HRESULT's in 64-bit builds.
    auto call = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, function)));
    bool ok = call && call() == S_OK;
    FreeLibrary(module);
    return ok;
  }
  std::string folder_;
  std::string dll_;
};

}  // namespace helperfixtures
