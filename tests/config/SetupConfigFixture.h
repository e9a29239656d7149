#pragma once
// A SetupConfig.xml assembled from sections: each test replaces the sections
// it is about and keeps valid defaults for the rest, so one file shape serves
// every reader test.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "XmlTestFiles.h"

namespace configtest {

inline const char kDefaultGeneral[] =
    "<General><Logfile Name=\"C:\\Logs\\Setup.log\" Level=\"DEVELOPERINFO\" Mode=\"OVERWRITE\" "
    "MaxLengthOfFile=\"5\"/></General>";
inline const char kDefaultBrand[] =
    "<Brand Name=\"Acme\"><ImageFiles><Image Name=\"Banner\" FilePath=\"b.bmp\"/></ImageFiles></Brand>";
inline const char kDefaultProducts[] =
    "<ProductList><ProductGroup Sequence=\"1\"><Product Sequence=\"1\" ProductName=\"Only\"/></ProductGroup>"
    "</ProductList>";

struct SetupConfigSections {
  std::string preCondition;
  std::string general = kDefaultGeneral;
  std::string dialogs;
  std::string images;
  std::string brands = kDefaultBrand;
  std::string products = kDefaultProducts;

  [[nodiscard]] std::string Xml() const {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig>" + preCondition + general + dialogs + images +
           brands + products + "</SetupConfig>\n";
  }
};

class SetupConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = testsupport::MakeScratchFolder(L"SetupConfigParse"); }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  // Writes the sections as SetupConfig.xml and reads it into record_.
  [[nodiscard]] bool Parse(const SetupConfigSections& sections,
                           CSetupConfigParser::RunStart start = CSetupConfigParser::RunStart::kFresh) {
    const std::wstring path = WriteXml(folder_, L"SetupConfig.xml", sections.Xml());
    CSetupConfigParser parser(*record_, *record_, start);
    return parser.StartParse(path);
  }

  // Every product of every group, in list order.
  [[nodiscard]] std::vector<IProductAttributes*> Products() {
    std::vector<IProductAttributes*> products;
    IProductGroupList* groups = record_->GetProductGroupList();
    if (!groups) return products;
    groups->ResetIteration();
    while (IProductGroup* group = groups->GetNextGroup()) {
      IProductList* list = group->GetProductList();
      if (!list) continue;
      list->ResetIteration();
      while (IProductAttributes* product = list->GetNextProduct()) products.push_back(product);
    }
    return products;
  }

  [[nodiscard]] std::vector<IProductGroup*> Groups() {
    std::vector<IProductGroup*> result;
    IProductGroupList* groups = record_->GetProductGroupList();
    if (!groups) return result;
    groups->ResetIteration();
    while (IProductGroup* group = groups->GetNextGroup()) result.push_back(group);
    return result;
  }

  // Starts a new, empty record (for tests that read several files).
  void ResetRecord() { record_ = std::make_unique<CSetupConfigData>(); }

  std::wstring folder_;
  std::unique_ptr<CSetupConfigData> record_ = std::make_unique<CSetupConfigData>();
};

}  // namespace configtest
