#pragma once
// The state side of the feature selection tree: the features of the main
// package's WiX model as tree items with the icon of their state, and the
// state changes the tree's menu asks for, kept in step with the installer's
// feature states (and, for non-features, with the products they stand for).

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "wix/WixFeature.h"

class IMSIManager;
class ISetupConfigData;
class IWixDataManager;

namespace ui {

class CFeatureTree {
 public:
  // Menu commands.
  static constexpr int kCommandLocal = 1;
  static constexpr int kCommandAllLocal = 2;
  static constexpr int kCommandAbsent = 3;
  // The image list holds the state icons at their tree state (partial 0,
  // absent 1, local 2) and the locked variants three places further.
  static constexpr int kLockedImageOffset = 3;

  // `tree` may be null (no items are made then); the others may not. Runs
  // the initial feature states.
  CFeatureTree(HWND tree, ISetupConfigData& record, const IWixDataManager& model, IMSIManager& msi);

  // Deletes the items and inserts the shown features, parents first.
  void Build();
  // The parents' states again, and every item's image from its feature's state.
  void Refresh();

  // A parent's state from its children (stored, which also sets its selected bit).
  static int ComputeTreeState(CWixFeature& feature);
  // Selects (flags with the selected bit) or deselects the feature, in the
  // tree's flags and in the installer.
  void SetSelected(CWixFeature& feature, int flags);
  // Whether the command may change the feature: locked features take none,
  // "not available" needs the subtree to allow the absent state.
  [[nodiscard]] static bool IsCommandAllowed(const CWixFeature& feature, int command);
  // Carries out a menu command on the feature and its subtree, then
  // Refresh; false (nothing changed) when it is not allowed.
  bool ApplyMenuCommand(CWixFeature& feature, int command);

  [[nodiscard]] static int ImageIndex(const CWixFeature& feature);
  [[nodiscard]] static bool IsLocked(const CWixFeature& feature) { return feature.GetLocked() != 0; }
  [[nodiscard]] CWixFeature* FeatureOf(HTREEITEM item) const;
  [[nodiscard]] HTREEITEM ItemOf(const CWixFeature* feature) const;
  [[nodiscard]] const std::vector<HTREEITEM>& GetItems() const { return items_; }
  [[nodiscard]] const std::vector<std::unique_ptr<CWixFeature>>& GetFeatures() const;

 private:
  void InsertFeature(CWixFeature& feature, HTREEITEM parent);
  void FollowParent(CWixFeature& feature, int parentFlags);
  void SelectSubtree(CWixFeature& feature, int flags);
  void SaveSubtree(CWixFeature& feature, std::map<std::wstring, int>& saved);
  void RestoreSubtree(CWixFeature& feature, const std::map<std::wstring, int>& saved);

  HWND tree_;
  const IWixDataManager& model_;
  IMSIManager& msi_;
  std::vector<HTREEITEM> items_;
};

}  // namespace ui
