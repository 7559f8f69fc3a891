#include "tests/support/wine_support.h"

#include <objidl.h>
#include <shlobj.h>

#include "tests/support/registry_state.h"

#include <cstdio>
#include <cstdlib>

namespace testsupport {

std::string BinFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\'));
}

std::string BinPath(const char* file) { return BinFolder() + "\\" + file; }

void ClearProductKeys() {
  DeleteKey(HKEY_CURRENT_USER, "Software\\Brenvik");
  DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Brenvik");
}

bool IsNtFamily() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

const char* Family() {
  const char* f = getenv("TOVREL_FAMILY");
  if (f != nullptr && f[0] != 0) return f;
  return IsNtFamily() ? "nt" : "win98";
}

bool IsWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

HANDLE StartProgram(const std::string& exe, const std::string& args) {
  std::string line = "\"" + exe + "\"";
  if (!args.empty()) line += " " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

long WaitExit(HANDLE process, DWORD ms) {
  if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return long(code);
}

std::string ReadWholeFile(const std::string& path) {
  std::string out;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  fclose(f);
  return out;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && written;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveFolderTree(const std::string& folder) {
  WIN32_FIND_DATAA f;
  HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = f.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolderTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &f));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string TempFilePath(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name;
}

bool SaveShortcut(const std::string& file, const std::string& target, const std::string& description) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  link->SetPath(target.c_str());
  if (!description.empty()) link->SetDescription(description.c_str());
  IPersistFile* persist = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    saved = persist->Save(wide, TRUE) == S_OK;
    persist->Release();
  }
  link->Release();
  return saved;
}

}  // namespace testsupport
