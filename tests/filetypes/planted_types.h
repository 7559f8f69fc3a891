// Associations the file-type tests plant in the test prefix: kind 1 under
// HKLM\Software\Classes (.SBS, with a description and a DefaultIcon), kind 2
// under the user's FileExts and HKCR\Applications (.WSH, an expandable
// quoted command) and kind 3 under FileExts and HKCR (.CAT, a class without
// description whose program has a version resource).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/registry.h"
#include "tests/support/wine_support.h"

namespace plantedtypes {

constexpr char kClasses[] = "Software\\Classes\\";
constexpr char kFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

inline void Plant(HKEY root, const std::string& key, const char* name, const std::string& data,
                  DWORD type = REG_SZ) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(k, name, 0, type, (const BYTE*)data.c_str(), DWORD(data.size() + 1));
  RegCloseKey(k);
}

struct PlantedTypes {
  std::string fixture = testsupport::BinPath("ver_os.dll");
  std::string systemCommand = "\"C:\\Tov Test\\runner.exe\" \"%1\"";
  std::string appCommand = "\"%SystemRoot%\\tovtest app.exe\" \"%1\"";
  std::string progIdCommand = "\"" + fixture + "\" /view %1";

  void PlantAll() const {
    const std::string classes = kClasses, exts = kFileExts;
    Plant(HKEY_LOCAL_MACHINE, classes + ".SBS", "", "TovTest.Sbs");
    Plant(HKEY_LOCAL_MACHINE, classes + "TovTest.Sbs", "", "Tovtest Script");
    Plant(HKEY_LOCAL_MACHINE, classes + "TovTest.Sbs\\shell\\open\\command", "", systemCommand);
    Plant(HKEY_LOCAL_MACHINE, classes + "TovTest.Sbs\\DefaultIcon", "",
          "\"C:\\Tov Test\\icons.dll\",-3");
    Plant(HKEY_CURRENT_USER, exts + ".WSH", "Application", "tovtestapp.exe");
    Plant(HKEY_CLASSES_ROOT, "Applications\\tovtestapp.exe\\shell\\open\\command", "", appCommand,
          REG_EXPAND_SZ);
    Plant(HKEY_CURRENT_USER, exts + ".CAT", "ProgID", "TovTest.Cat");
    Plant(HKEY_CLASSES_ROOT, "TovTest.Cat\\shell\\open\\command", "", progIdCommand);
  }
  // Two extensions of one class without a description.
  void PlantShared() const {
    for (const char* ext : {".tova", ".tovb"})
      Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + ext, "", "TovTest.Shared");
    Plant(HKEY_LOCAL_MACHINE, std::string(kClasses) + "TovTest.Shared\\shell\\open\\command", "",
          "\"" + fixture + "\" %1");
  }
  static void Unplant() {
    for (const char* key : {".SBS", "TovTest.Sbs", ".tova", ".tovb", ".tovc", "TovTest.Shared",
                            "TovTest.Cat", "Applications\\tovtestapp.exe"})
      tov::DeleteRegTree(HKEY_LOCAL_MACHINE, (std::string(kClasses) + key).c_str());
    for (const char* ext : {".WSH", ".CAT"})
      tov::DeleteRegTree(HKEY_CURRENT_USER, (std::string(kFileExts) + ext).c_str());
  }
};

}  // namespace plantedtypes
