#include "ExecutorFixture.h"

#include <iostream>

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ProductWalk.h"
#include "config/SetupConfigParser.h"
#include "PackageCodes.h"
#include "platform/StringUtil.h"
#include "support/TestPaths.h"

namespace enginetest {

std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

std::wstring ExeProductPath() { return testsupport::BinFolder() + L"exe_product.exe"; }

void ExecutorTest::SetUp() {
  static int serial = 0;
  folder_ = testsupport::MakeScratchFolder(L"Executor" + std::to_wstring(++serial));
  marker_ = folder_ + L"runs.txt";
  log_ = std::make_unique<modeltest::LogCapture>();
}

void ExecutorTest::TearDown() {
  for (const std::wstring& code : installedByTest_) EXPECT_TRUE(UninstallProduct(code)) << Utf8(code);
  // A failed run is read through its setup log: show it with the failure.
  if (HasFailure() && log_) std::cout << "--- captured setup log ---\n" << Utf8(log_->Text()) << "--- end of log ---\n";
  log_.reset();
  record_.reset();
  testsupport::RemoveFolder(folder_);
}

bool ExecutorTest::LoadBundle(const std::string& groupsXml, const BundleSettings& settings) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig><General>"
      "<RegisterableSetup Value=\"false\"/>"
      "<MSIMutexTimeout Value=\"" + std::to_string(settings.msiMutexTimeoutSeconds) + "\"/>"
      "<Reboot Value=\"true\" AccumulateConditionalReboot=\"" +
      std::string(settings.accumulateConditionalReboot ? "true" : "false") + "\"/>"
      "<Logfile Name=\"" + Utf8(folder_) + "Logs\\Setup.log\" Level=\"DEVELOPERINFO\" Mode=\"OVERWRITE\" "
      "MaxLengthOfFile=\"5\"/></General>"
      "<Brand Name=\"Acme\"><ImageFiles><Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand>"
      "<ProductList>" + groupsXml + "</ProductList></SetupConfig>\n";
  std::wstring path = folder_ + L"SetupConfig.xml";
  if (!testsupport::WriteFileBytes(path, xml)) return false;
  record_ = std::make_unique<CSetupConfigData>();
  CSetupConfigParser parser(*record_, *record_);
  if (!parser.StartParse(path)) return false;
  // The product property update decides what runs; here everything does.
  IProductGroupList* groups = record_->GetProductGroupList();
  if (groups != nullptr) {
    groups->ResetIteration();
    while (IProductGroup* group = groups->GetNextGroup()) {
      group->SetSkipped(false);
      IProductList* list = group->GetProductList();
      if (list == nullptr) continue;
      list->ResetIteration();
      while (IProductAttributes* product = list->GetNextProduct()) product->SetSkipped(false);
    }
  }
  record_->SetSourcePath(folder_);
  record_->SetSetupFolder(folder_);
  record_->SetUIMode(true);
  ::CreateDirectoryW((folder_ + L"Logs").c_str(), nullptr);
  return true;
}

std::string ExecutorTest::ExeProduct(int sequence, const std::string& name, const std::string& arguments,
                                     const std::string& extra) const {
  return "<Product Sequence=\"" + std::to_string(sequence) + "\" Type=\"EXE\" ProductName=\"" + name +
         "\" Location=\"" + Utf8(ExeProductPath()) + "\" InstallCommand=\"/marker:" + Utf8(marker_) +
         " /name:" + name + " " + arguments + "\" " + extra + "/>";
}

std::string ExecutorTest::MsiProduct(int sequence, const std::string& name, const std::wstring& productCode,
                                     const std::string& installCommand, const std::string& extra) const {
  return "<Product Sequence=\"" + std::to_string(sequence) + "\" Type=\"MSI\" ProductName=\"" + name +
         "\" Location=\"" + Utf8(testsupport::PackageFolder()) + name + ".msi\" InstallCommand=\"" + installCommand +
         "\" UninstallCommand=\"" + Utf8(productCode) + "\" " + extra + "/>";
}

std::vector<std::wstring> ExecutorTest::MarkerLines() const {
  std::string bytes = testsupport::ReadFileBytes(marker_);
  std::vector<std::wstring> lines;
  for (const std::wstring& line : platform::Split(platform::Utf8ToWide(bytes), L"\n")) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::wstring> ExecutorTest::RunNames() const {
  std::vector<std::wstring> names;
  for (const std::wstring& line : MarkerLines()) {
    size_t at = line.find(L"/name:");
    if (at == std::wstring::npos) continue;
    size_t end = line.find(L' ', at);
    names.push_back(line.substr(at + 6, end == std::wstring::npos ? std::wstring::npos : end - at - 6));
  }
  return names;
}

IProductAttributes* ExecutorTest::FindProduct(const std::wstring& name) {
  IProductAttributes* found = nullptr;
  (void)ForEachProduct(record_ ? record_->GetProductGroupList() : nullptr,
                       [&](IProductGroup&, IProductAttributes& product) {
                         if (product.GetProductName() != name) return true;
                         found = &product;
                         return false;
                       });
  return found;
}

}  // namespace enginetest
