#include "features/FeatureUtility.h"

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/ProductWalk.h"
#include "config/ISetupConfigData.h"
#include "engine/NonFeatureSelectionStore.h"
#include "features/ProductChecks.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "wix/IWixDataManager.h"
#include "wix/WixFeature.h"

namespace {

constexpr int kStateUnknown = -1;
constexpr int kStateLocal = 3;

// Installed locally now and left so, or about to be installed locally.
bool IsToBeLocal(int installed, int action) {
  return (action == kStateUnknown && installed == kStateLocal) || action == kStateLocal;
}

void AppendListEntry(std::wstring& list, const std::wstring& entry) {
  if (!list.empty()) list += L",";
  list += entry;
}

}  // namespace

CFeatureUtility::CFeatureUtility(IWixDataManager* model) : model_(model) {}

const CFeatureUtility::FeatureList* CFeatureUtility::GetFeatureList() const {
  if (model_ == nullptr) {
    LogDebug(L"CFeatureUtility :: GetFeatureList () - WixDataManager instance is NULL");
    return nullptr;
  }
  return &model_->GetFeatures();
}

void CFeatureUtility::SetNonFeatureSelection(const std::wstring& name, int selected) {
  CNonFeatureSelectionStore::GetInstance().SetNonFeatureSelection(name, selected);
}

bool CFeatureUtility::FindNonFeatureSelection(const std::wstring& name, int& selected) {
  return CNonFeatureSelectionStore::GetInstance().FindNonFeatureSelection(name, selected);
}

void CFeatureUtility::ClearNonFeatureSelections() { CNonFeatureSelectionStore::GetInstance().ClearNonFeatureSelections(); }

void CFeatureUtility::InitFeatureStates(ISetupConfigData& record, IMSIManager& msiManager) {
  const FeatureList* features = GetFeatureList();
  if (features == nullptr) return;
  for (const auto& feature : *features) InitFeatureState(*feature, record, msiManager);
}

void CFeatureUtility::InitFeatureState(CWixFeature& feature, ISetupConfigData& record, IMSIManager& msiManager) {
  for (const WixFeatureCondition& condition : feature.GetConditions()) {
    if (msiManager.EvaluateCondition(condition.condition)) feature.SetLevel(condition.level);
  }
  (void)msiManager.LoadFeatureDisplay(&feature);

  int flags = 0;
  if (platform::EqualsNoCase(feature.GetDisplay(), L"hidden") || feature.GetLevel() == 0) {
    flags |= CWixFeature::kFlagHidden;
  }
  if (platform::EqualsNoCase(feature.GetDisplay(), L"expand")) flags |= CWixFeature::kFlagExpanded;

  if (feature.IsNonFeature()) {
    flags = NonFeatureSelectedBit(feature, record, msiManager, flags);
  } else {
    int installed = kStateUnknown;
    int action = kStateUnknown;
    if (!msiManager.GetFeatureState(feature.GetId(), installed, action)) {
      LogInformation(L"GetInitialFeatureState:MSIGetFeatureState failed for feature," + feature.GetId());
    }
    if (action == kStateUnknown) {
      if (installed == kStateLocal) flags |= CWixFeature::kFlagSelected;
    } else if (action == kStateLocal) {
      flags |= CWixFeature::kFlagSelected;
    }
  }
  feature.SetFlags(flags);

  for (const auto& child : feature.GetChildren()) InitFeatureState(*child, record, msiManager);
}

int CFeatureUtility::NonFeatureSelectedBit(CWixFeature& feature, ISetupConfigData& record, IMSIManager& msiManager,
                                           int flags) {
  const std::wstring productName = feature.GetNonFeatureProductName();
  // Once a product of a group selects the feature, the rest of that group is not asked.
  const IProductGroup* settledGroup = nullptr;
  (void)ForEachProduct(record.GetProductGroupList(), [&](IProductGroup& group, IProductAttributes& product) {
    if (&group == settledGroup || !platform::EqualsNoCase(product.GetProductName(), productName)) return true;
    ApplyNonFeatureProductRule(feature, product, record, msiManager, flags);
    if ((flags & CWixFeature::kFlagSelected) != 0) settledGroup = &group;
    return true;
  });
  int remembered = 0;
  if (FindNonFeatureSelection(productName, remembered)) {
    if (remembered != 0) {
      flags |= CWixFeature::kFlagSelected;
    } else {
      flags &= ~CWixFeature::kFlagSelected;
    }
  }
  SetNonFeatureSelection(productName, (flags & CWixFeature::kFlagSelected) != 0 ? 1 : 0);
  return flags;
}

void CFeatureUtility::ApplyNonFeatureProductRule(CWixFeature& feature, IProductAttributes& product,
                                                 ISetupConfigData& record, IMSIManager& msiManager, int& flags) {
  LogDebug(L"Setting the non feature state for the feature %s.", feature.GetId().c_str());
  const bool condition = CheckProductCondition(msiManager, product.GetCondition());
  const std::wstring propertyName = product.GetPropertyName();
  const std::wstring value = propertyName.empty() ? std::wstring() : msiManager.GetProperty(propertyName, false);
  if (platform::EqualsNoCase(value, L"HIGHEROREQUALVERSIONEXIST") && condition) {
    std::wstring shown = value;
    msiManager.MaskHiddenProperties(shown);
    LogDebug(L"PropertyName is %s, Property Value is %s.\n", propertyName.c_str(), shown.c_str());
    flags |= CWixFeature::kFlagSelected;
    feature.SetLocked(1);
    return;
  }
  const bool needsInstall = CheckProductProperty(msiManager, propertyName);
  if (record.GetExecutionType() == SETUPEXECTYPE_INSTALLATION) {
    if (needsInstall && condition) {
      flags |= CWixFeature::kFlagSelected;
    } else {
      flags &= ~CWixFeature::kFlagSelected;
    }
  } else if (needsInstall && condition) {
    flags &= ~CWixFeature::kFlagSelected;
    feature.SetLocked(0);
  } else {
    flags |= CWixFeature::kFlagSelected;
    feature.SetLocked(product.GetUninstallCommand().empty() ? 1 : 0);
  }
  LogDebug(L"Set the non feature state for the feature.\n");
}

void CFeatureUtility::ComputeSelectionLists(IMSIManager& msiManager, std::wstring& selected,
                                            std::wstring& deselected) {
  const FeatureList* features = GetFeatureList();
  if (features == nullptr) return;
  CollectSelection(*features, msiManager, selected, deselected);
  // Deliberate text ("DeSelected", blanks before the colons, trailing blanks): kept as written.
  LogInformation(L"Selected Features are : %s ", selected.c_str());
  LogInformation(L"DeSelected Features are : %s ", deselected.c_str());
}

void CFeatureUtility::CollectSelection(const FeatureList& features, IMSIManager& msiManager, std::wstring& selected,
                                       std::wstring& deselected) {
  for (const auto& feature : features) {
    if (!feature->IsNonFeature()) {
      int installed = kStateUnknown;
      int action = kStateUnknown;
      if (!msiManager.GetFeatureState(feature->GetId(), installed, action)) {
        LogInformation(L"SetSelectedFeature:MSIGetFeatureState failed for feature," + feature->GetId());
      }
      AppendListEntry(IsToBeLocal(installed, action) ? selected : deselected, feature->GetId());
    }
    CollectSelection(feature->GetChildren(), msiManager, selected, deselected);
  }
}

void CFeatureUtility::CalculateDriveCost(DriveCostMap& driveCosts, ISetupConfigData& /*record*/,
                                         IMSIManager& msiManager) {
  const FeatureList* features = GetFeatureList();
  if (features == nullptr) return;
  AddDriveCosts(*features, L"INSTALLDIR", driveCosts, msiManager);
}

void CFeatureUtility::AddDriveCosts(const FeatureList& features, const std::wstring& inheritedDirectory,
                                    DriveCostMap& driveCosts, IMSIManager& msiManager) {
  for (const auto& feature : features) {
    const std::wstring directory =
        feature->GetConfigurableDirectory().empty() ? inheritedDirectory : feature->GetConfigurableDirectory();
    AddDriveCosts(feature->GetChildren(), directory, driveCosts, msiManager);
    if (feature->IsNonFeature() || !feature->GetChildren().empty()) continue;
    const std::wstring path = msiManager.GetProperty(directory, false);
    int installed = kStateUnknown;
    int action = kStateUnknown;
    if (!msiManager.GetFeatureState(feature->GetId(), installed, action)) {
      LogInformation(L"CalculateDriveCost:MSIGetFeatureState failed for feature," + feature->GetId());
    }
    if (action != kStateLocal || path.empty()) continue;
    driveCosts[path.substr(0, 1)] += feature->GetCost();
  }
}

void CFeatureUtility::SkipNonFeatures(const std::wstring& list) {
  const FeatureList* features = GetFeatureList();
  if (features == nullptr) return;
  SkipNonFeatures(*features, platform::Split(list, L","));
}

void CFeatureUtility::SkipNonFeatures(const FeatureList& features, const std::vector<std::wstring>& names) {
  for (const auto& feature : features) {
    if (feature->IsNonFeature()) {
      const std::wstring productName = feature->GetNonFeatureProductName();
      for (const std::wstring& name : names) {
        if (!platform::EqualsNoCase(platform::Trim(name), productName) || feature->GetLocked() != 0) continue;
        SetNonFeatureSelection(productName, 0);
        // Deliberate text (the blank before the colon, the trailing blank): kept as written.
        LogInformation(L"The Skipped MSI Non-feature : %s ", productName.c_str());
      }
    }
    SkipNonFeatures(feature->GetChildren(), names);
  }
}
