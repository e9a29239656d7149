#pragma once
// Pieces the Add/Remove Programs tests share: scratch keys under the real
// Uninstall root that remove themselves, a reader of a key's values, and a
// record filled like an installed bundle's.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "config/SetupConfigData.h"
#include "registry/ArpEntry.h"
#include "registry/RegistryUtil.h"

namespace arptest {

// The real Uninstall root, with its trailing backslash.
inline const std::wstring kRoot = CArpEntry::kUninstallRoot;

// A value as stored: its type and its data (strings without the terminator,
// DWORDs in `number`).
struct StoredValue {
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;

  bool operator==(const StoredValue& other) const {
    return type == other.type && text == other.text && number == other.number;
  }
};
// Readable failure messages: "REG_SZ \"text\"" or "REG_DWORD 42".
void PrintTo(const StoredValue& value, std::ostream* out);
StoredValue Sz(const std::wstring& text);
StoredValue Dword(DWORD number);

// Every value of HKLM\path in `view`; empty when the key is missing.
std::map<std::wstring, StoredValue> ReadAllValues(const std::wstring& path, registry::View view);
bool KeyExists(const std::wstring& path, registry::View view);

// A name no other test or run uses: prefix, process id and a serial.
std::wstring UniqueName(const std::wstring& prefix);

// HKLM\path in `view`, deleted (with its subkeys) when the owner goes.
class ScratchKey {
 public:
  ScratchKey(std::wstring path, registry::View view) : path_(std::move(path)), view_(view) {}
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  // Creates the key (when missing) and writes string values into it.
  bool Write(const std::map<std::wstring, std::wstring>& values) const;
  [[nodiscard]] const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  registry::View view_;
};

// Real 64-bit Windows always has the Uninstall root in the 32-bit view too; a
// prefix made by wine64 alone lacks it. Creates it for the test when missing
// and removes it again only then.
class Uninstall32Root {
 public:
  Uninstall32Root();
  ~Uninstall32Root();
  Uninstall32Root(const Uninstall32Root&) = delete;
  Uninstall32Root& operator=(const Uninstall32Root&) = delete;
  [[nodiscard]] bool Exists() const;

 private:
  bool created_ = false;
};

// Everything the bundle's entry is made from, with distinct texts.
struct BundleSettings {
  std::wstring bundleKey;
  std::wstring mainProductCode;  // with braces
  std::wstring installedLocation = L"C:\\ArpTest\\App\\";
  std::wstring installLocation = L"[InstallDir]Data";
  std::wstring maintenanceExePath = L"Setup\\Setup.exe";
  std::wstring sourcePath = L"D:\\Media\\";
  std::wstring brand = L"Contoso";
  std::wstring productName = L"Arp Test Suite";
  LANGID language = 1031;
  std::wstring productIcon = L"SetupData\\Images\\Product.ico";  // "" for no image list
};
void FillRecord(CSetupConfigData& record, const BundleSettings& settings);

// A test with its own bundle key name and main product code under the real
// Uninstall root (own view); both keys are removed after the test.
class ArpFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  // HKLM path of the bundle's entry and of the main product's entry.
  [[nodiscard]] std::wstring BundlePath() const;
  [[nodiscard]] std::wstring MainPath() const;

  BundleSettings settings_;
  std::unique_ptr<ScratchKey> bundle_;
  std::unique_ptr<ScratchKey> main_;
};

}  // namespace arptest
