#pragma once
// The run-time side of the main package's feature choice: the initial state of
// every feature of the WiX UI model, the two comma-separated feature lists the
// package command lines receive, the disk cost per drive, and which
// non-features (features that stand for bundle products) are selected.

#include <map>
#include <memory>
#include <string>
#include <vector>

class CWixFeature;
class IMSIManager;
class IProductAttributes;
class ISetupConfigData;
class IWixDataManager;

class CFeatureUtility {
 public:
  using FeatureList = std::vector<std::unique_ptr<CWixFeature>>;
  // Drive letter (one character) -> bytes to be installed there.
  using DriveCostMap = std::map<std::wstring, long long>;

  // `model` may be null: every operation then logs and does nothing.
  explicit CFeatureUtility(IWixDataManager* model);

  // The model's top-level features; null (logged) without a model.
  [[nodiscard]] const FeatureList* GetFeatureList() const;

  // Flags, tree state and lock of every feature from the installer's feature
  // states, the feature conditions and, for non-features, their products.
  void InitFeatureStates(ISetupConfigData& record, IMSIManager& msiManager);

  // Ids of the features to be installed locally and of the others, each
  // joined with ","; non-features are in neither list.
  void ComputeSelectionLists(IMSIManager& msiManager, std::wstring& selected, std::wstring& deselected);

  // Bytes per drive of the features to be installed locally. Every leaf counts
  // once, on the drive of its own configurable directory or, without one, of
  // the nearest parent's (INSTALLDIR at the top); parents add nothing of
  // their own, so nothing is counted twice.
  void CalculateDriveCost(DriveCostMap& driveCosts, ISetupConfigData& record, IMSIManager& msiManager);

  // Marks the non-features named in a comma-separated list as not selected,
  // unless the user may not change them (locked).
  void SkipNonFeatures(const std::wstring& list);

  // The process-wide non-feature selection memory (product name -> selected).
  static void SetNonFeatureSelection(const std::wstring& name, int selected);
  // False when the name is not held; `selected` is left alone then.
  [[nodiscard]] static bool FindNonFeatureSelection(const std::wstring& name, int& selected);
  static void ClearNonFeatureSelections();

 private:
  void InitFeatureState(CWixFeature& feature, ISetupConfigData& record, IMSIManager& msiManager);
  [[nodiscard]] int NonFeatureSelectedBit(CWixFeature& feature, ISetupConfigData& record, IMSIManager& msiManager,
                                          int flags);
  void ApplyNonFeatureProductRule(CWixFeature& feature, IProductAttributes& product, ISetupConfigData& record,
                                  IMSIManager& msiManager, int& flags);
  void CollectSelection(const FeatureList& features, IMSIManager& msiManager, std::wstring& selected,
                        std::wstring& deselected);
  void AddDriveCosts(const FeatureList& features, const std::wstring& inheritedDirectory, DriveCostMap& driveCosts,
                     IMSIManager& msiManager);
  void SkipNonFeatures(const FeatureList& features, const std::vector<std::wstring>& names);

  IWixDataManager* model_;
};
