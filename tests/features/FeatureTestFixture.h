#pragma once
// A record read from a SetupConfig.xml product list, a WiX feature model
// built in code, and the scripted session the feature decisions ask.

#include <memory>
#include <string>

#include "ScriptedMsiManager.h"
#include "config/ConfigTestSupport.h"
#include "config/SetupConfigFixture.h"
#include "engine/NonFeatureSelectionStore.h"
#include "wix/WixDataManager.h"
#include "wix/WixFeature.h"

namespace featuretest {

class FeatureTest : public configtest::SetupConfigTest {
 protected:
  void SetUp() override {
    SetupConfigTest::SetUp();
    CNonFeatureSelectionStore::GetInstance().ClearNonFeatureSelections();
  }
  void TearDown() override {
    CNonFeatureSelectionStore::GetInstance().ClearNonFeatureSelections();
    SetupConfigTest::TearDown();
  }

  // Reads a record whose product list is `productList` (a whole <ProductList>).
  void ReadProducts(const std::string& productList) {
    configtest::SetupConfigSections sections;
    sections.products = productList;
    ASSERT_TRUE(Parse(sections));
  }

  // Adds a feature to `parent`, or at the top of the model when it is null.
  CWixFeature* AddFeature(CWixFeature* parent, const std::wstring& id, int level = 1,
                          const std::wstring& directory = L"") {
    auto feature = std::make_unique<CWixFeature>(id);
    feature->SetLevel(level);
    feature->SetConfigurableDirectory(directory);
    CWixFeature* raw = feature.get();
    if (parent != nullptr) {
      parent->AddChild(std::move(feature));
    } else {
      model_.AddFeature(std::move(feature));
    }
    return raw;
  }

  [[nodiscard]] static int Remembered(const std::wstring& name) {
    int selected = -1;
    return CNonFeatureSelectionStore::GetInstance().FindNonFeatureSelection(name, selected) ? selected : -1;
  }

  CWixDataManager model_{*record_};
  ScriptedMsiManager msi_;
};

}  // namespace featuretest
