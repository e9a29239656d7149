#pragma once
// A bundle for executor tests: SetupConfig.xml written from product groups,
// read into a real record, run against the recording dispatcher, with the
// setup log captured and a marker file the EXE products append to.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingEventDispatcher.h"
#include "config/ConfigTestSupport.h"
#include "config/SetupConfigData.h"

namespace enginetest {

struct BundleSettings {
  bool accumulateConditionalReboot = false;
  int msiMutexTimeoutSeconds = 1;
};

class ExecutorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Reads a SetupConfig.xml whose ProductList holds `groupsXml`.
  [[nodiscard]] bool LoadBundle(const std::string& groupsXml, const BundleSettings& settings = {});

  // A product of type EXE that runs exe_product.exe with `arguments` (the
  // marker file is added in front); `extra` adds attributes.
  [[nodiscard]] std::string ExeProduct(int sequence, const std::string& name, const std::string& arguments,
                                       const std::string& extra = "") const;
  // A product of type MSI for a package of tests/packages (built folder);
  // its uninstall command is its product code.
  [[nodiscard]] std::string MsiProduct(int sequence, const std::string& name, const std::wstring& productCode,
                                       const std::string& installCommand = "", const std::string& extra = "") const;
  // Products the test installs; removed again in TearDown.
  std::vector<std::wstring> installedByTest_;

  // The marker lines, each "<name-argument>" of the runs in order.
  [[nodiscard]] std::vector<std::wstring> MarkerLines() const;
  // The names (/name:X arguments) of the EXE products that ran, in order.
  [[nodiscard]] std::vector<std::wstring> RunNames() const;

  [[nodiscard]] IProductAttributes* FindProduct(const std::wstring& name);

  std::wstring folder_;
  std::wstring marker_;
  std::unique_ptr<CSetupConfigData> record_;
  RecordingEventDispatcher dispatcher_;
  std::unique_ptr<modeltest::LogCapture> log_;
};

// Path helpers, as UTF-8 for the XML.
std::string Utf8(const std::wstring& text);
std::wstring ExeProductPath();

}  // namespace enginetest
