#pragma once
// A scratch Add/Remove Programs entry of a bundle, as an earlier installation
// would have left it; removed again after each test.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "config/SetupConfigData.h"

namespace apptest {

class BundleEntryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void WriteString(const wchar_t* name, const std::wstring& value);
  void WriteDword(const wchar_t* name, DWORD value);
  // Gives the record language settings for these languages.
  void ConfigureLanguages(std::initializer_list<LANGID> languages);

  std::wstring bundleKey_;
  std::unique_ptr<CSetupConfigData> record_ = std::make_unique<CSetupConfigData>();
};

}  // namespace apptest
