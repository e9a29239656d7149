#include "ui/controls/FeatureTree.h"

#include "features/FeatureUtility.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "wix/IWixDataManager.h"

namespace ui {

namespace {

constexpr int kInstallStateAbsent = 2;
constexpr int kInstallStateLocal = 3;

// Whether the feature or one below it may not be made absent: Windows
// Installer removes a parent's subtree with it, so the parent may not either.
bool SubtreeForbidsAbsent(const CWixFeature& feature) {
  if (feature.GetAbsent() != 0 || CFeatureTree::IsLocked(feature)) return true;
  for (const auto& child : feature.GetChildren()) {
    if (SubtreeForbidsAbsent(*child)) return true;
  }
  return false;
}

}  // namespace

CFeatureTree::CFeatureTree(HWND tree, ISetupConfigData& record, const IWixDataManager& model, IMSIManager& msi)
    : tree_(tree), model_(model), msi_(msi) {
  // The utility only reads the model's list; the run-time state lives in the features themselves.
  CFeatureUtility(const_cast<IWixDataManager*>(&model_)).InitFeatureStates(record, msi_);
}

const std::vector<std::unique_ptr<CWixFeature>>& CFeatureTree::GetFeatures() const { return model_.GetFeatures(); }

int CFeatureTree::ImageIndex(const CWixFeature& feature) {
  return feature.GetTreeState() + (IsLocked(feature) ? kLockedImageOffset : 0);
}

void CFeatureTree::Build() {
  if (tree_ != nullptr) (void)TreeView_DeleteAllItems(tree_);
  items_.clear();
  for (const auto& feature : GetFeatures()) {
    if (!feature->GetChildren().empty()) (void)ComputeTreeState(*feature);
  }
  for (const auto& feature : GetFeatures()) InsertFeature(*feature, TVI_ROOT);
}

void CFeatureTree::InsertFeature(CWixFeature& feature, HTREEITEM parent) {
  if ((feature.GetFlags() & CWixFeature::kFlagHidden) != 0 || tree_ == nullptr) return;
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
  std::wstring title = feature.GetTitle().empty() ? feature.GetId() : feature.GetTitle();
  insert.item.pszText = title.data();
  insert.item.iImage = ImageIndex(feature);
  insert.item.iSelectedImage = insert.item.iImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(&feature);
  insert.item.stateMask = TVIS_EXPANDED;
  insert.item.state = (feature.GetFlags() & CWixFeature::kFlagExpanded) != 0 ? TVIS_EXPANDED : 0;
  HTREEITEM item = TreeView_InsertItem(tree_, &insert);
  if (item == nullptr) {
    LogDebug(L"The feature %s could not be added to the selection tree.", feature.GetId().c_str());
    return;
  }
  items_.push_back(item);
  for (const auto& child : feature.GetChildren()) InsertFeature(*child, item);
  // The expanded state of an item without children is dropped by the tree: set it once they are in.
  if ((feature.GetFlags() & CWixFeature::kFlagExpanded) != 0) (void)TreeView_Expand(tree_, item, TVE_EXPAND);
}

void CFeatureTree::Refresh() {
  for (const auto& feature : GetFeatures()) {
    if (!feature->GetChildren().empty()) (void)ComputeTreeState(*feature);
  }
  if (tree_ == nullptr) return;
  for (HTREEITEM item : items_) {
    CWixFeature* feature = FeatureOf(item);
    if (feature == nullptr) continue;
    TVITEMW update = {};
    update.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    update.hItem = item;
    update.iImage = ImageIndex(*feature);
    update.iSelectedImage = update.iImage;
    (void)TreeView_SetItem(tree_, &update);
  }
}

int CFeatureTree::ComputeTreeState(CWixFeature& feature) {
  bool allLocal = true;
  bool allAbsent = true;
  for (const auto& child : feature.GetChildren()) {
    int state = 0;
    if (!child->GetChildren().empty()) {
      state = ComputeTreeState(*child);
    } else {
      state = (child->GetFlags() & CWixFeature::kFlagSelected) != 0 ? CWixFeature::kTreeLocal
                                                                      : CWixFeature::kTreeAbsent;
    }
    if (state != CWixFeature::kTreeLocal) allLocal = false;
    if (state != CWixFeature::kTreeAbsent) allAbsent = false;
  }
  int result = CWixFeature::kTreePartial;
  if (allLocal) {
    result = CWixFeature::kTreeLocal;
  } else if (allAbsent) {
    result = (feature.GetFlags() & CWixFeature::kFlagSelected) != 0 ? CWixFeature::kTreePartial
                                                                     : CWixFeature::kTreeAbsent;
  }
  feature.SetTreeState(result);
  return result;
}

void CFeatureTree::SetSelected(CWixFeature& feature, int flags) {
  if ((flags & CWixFeature::kFlagSelected) != 0) {
    feature.SetFlags(feature.GetFlags() | CWixFeature::kFlagSelected);
    if (!feature.IsNonFeature()) msi_.SetFeatureState(feature.GetId(), kInstallStateLocal);
  } else {
    feature.SetFlags(feature.GetFlags() & 5);
    if (!feature.IsNonFeature()) msi_.SetFeatureState(feature.GetId(), kInstallStateAbsent);
  }
  if (feature.IsNonFeature()) {
    CFeatureUtility::SetNonFeatureSelection(feature.GetNonFeatureProductName(),
                                            (feature.GetFlags() & CWixFeature::kFlagSelected) != 0 ? 1 : 0);
  }
}

bool CFeatureTree::IsCommandAllowed(const CWixFeature& feature, int command) {
  if (IsLocked(feature)) return false;
  if (command == kCommandAbsent) return !SubtreeForbidsAbsent(feature);
  return command == kCommandLocal || command == kCommandAllLocal;
}

bool CFeatureTree::ApplyMenuCommand(CWixFeature& feature, int command) {
  if (!IsCommandAllowed(feature, command)) {
    LogInformation(L"The state of the feature %s cannot be changed that way; it is kept.", feature.GetId().c_str());
    return false;
  }
  switch (command) {
    case kCommandLocal:
      if (feature.GetChildren().empty() || feature.GetSavedStates().empty()) {
        SetSelected(feature, CWixFeature::kFlagSelected);
        for (const auto& child : feature.GetChildren()) FollowParent(*child, feature.GetFlags());
      } else {
        const std::map<std::wstring, int> saved = feature.GetSavedStates();
        RestoreSubtree(feature, saved);
        feature.GetSavedStates().clear();
      }
      break;
    case kCommandAllLocal:
      SelectSubtree(feature, CWixFeature::kFlagSelected);
      break;
    case kCommandAbsent: {
      std::map<std::wstring, int> saved;
      SaveSubtree(feature, saved);
      feature.GetSavedStates() = std::move(saved);
      SelectSubtree(feature, 5);
      break;
    }
    default:
      return false;
  }
  Refresh();
  return true;
}

void CFeatureTree::FollowParent(CWixFeature& feature, int parentFlags) {
  // Deepest first: a child is settled before the parent it follows.
  for (const auto& child : feature.GetChildren()) FollowParent(*child, parentFlags);
  if (feature.GetInstallDefault() == 0 && !IsLocked(feature)) SetSelected(feature, parentFlags);
}

void CFeatureTree::SelectSubtree(CWixFeature& feature, int flags) {
  if (!IsLocked(feature)) SetSelected(feature, flags);
  for (const auto& child : feature.GetChildren()) SelectSubtree(*child, flags);
}

void CFeatureTree::SaveSubtree(CWixFeature& feature, std::map<std::wstring, int>& saved) {
  saved[feature.GetId()] = feature.GetFlags();
  for (const auto& child : feature.GetChildren()) SaveSubtree(*child, saved);
}

void CFeatureTree::RestoreSubtree(CWixFeature& feature, const std::map<std::wstring, int>& saved) {
  auto found = saved.find(feature.GetId());
  if (found == saved.end()) return;
  if (!IsLocked(feature)) SetSelected(feature, found->second);
  for (const auto& child : feature.GetChildren()) RestoreSubtree(*child, saved);
}

CWixFeature* CFeatureTree::FeatureOf(HTREEITEM item) const {
  if (tree_ == nullptr || item == nullptr) return nullptr;
  TVITEMW query = {};
  query.mask = TVIF_HANDLE | TVIF_PARAM;
  query.hItem = item;
  if (!TreeView_GetItem(tree_, &query)) return nullptr;
  return reinterpret_cast<CWixFeature*>(query.lParam);
}

HTREEITEM CFeatureTree::ItemOf(const CWixFeature* feature) const {
  for (HTREEITEM item : items_) {
    if (FeatureOf(item) == feature) return item;
  }
  return nullptr;
}

}  // namespace ui
