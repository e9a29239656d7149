#include "ui/controls/SelectionTree_BT.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/controls/ControlFactory.h"
#include "ui/controls/ControlImages.h"
#include "ui/controls/DefaultIcons.h"
#include "ui/controls/SizeText.h"
#include "wix/IWixDataManager.h"
#include "wix/WixControl.h"

namespace ui {

namespace {

// The enabled state told for a folder-less feature; WiX has no name for this event.
constexpr int kSelectionPathEnabledEvent = 16;
constexpr int kMenuOffset = 34;
// Publishing waits for this: the controls after the tree subscribe only once
// the whole dialog is made.
constexpr UINT kPublishLater = WM_APP + 0x317;
// The menu of the selected item, opened once the key that asked for it is
// fully handled: the blank's WM_CHAR is already queued when the key-down
// arrives, and a menu loop started then takes it as "choose the focused entry".
constexpr UINT kMenuLater = WM_APP + 0x318;

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

long long SubtreeCost(const CWixFeature& feature) {
  long long total = feature.GetCost();
  for (const auto& child : feature.GetChildren()) {
    if ((child->GetFlags() & CWixFeature::kFlagSelected) != 0) total += SubtreeCost(*child);
  }
  return total;
}

}  // namespace

CSelectionTree_BT::CSelectionTree_BT(const CWixControl* control, const ControlContext& context, IControlHost& host)
    : CControlWindow(control, context), host_(host) {}

CSelectionTree_BT::~CSelectionTree_BT() {
  // The tree view must not draw with the list once it is gone.
  if (GetHwnd() != nullptr) (void)TreeView_SetImageList(GetHwnd(), nullptr, TVSIL_NORMAL);
}

void CSelectionTree_BT::BuildImages() {
  images_ = CreateSmallImageList(6, 2);
  // In tree-state order (partial 0, absent 1, local 2), so an item's image is its state.
  struct Entry {
    const wchar_t* id;
    DefaultImage fallback;
  };
  static const Entry kImages[] = {
      {L"InstallPartialFeature", DefaultImage::kFeaturePartial},
      {L"DontInstallFeature", DefaultImage::kFeatureAbsent},
      {L"InstallFeature", DefaultImage::kFeatureLocal},
      {L"InstallPartialFeature_d", DefaultImage::kFeaturePartialLocked},
      {L"DontInstallFeature_d", DefaultImage::kFeatureAbsentLocked},
      {L"InstallFeature_d", DefaultImage::kFeatureLocalLocked},
  };
  for (const Entry& entry : kImages) {
    if (AddImage(images_.Get(), context_.record, entry.id, entry.fallback) < 0) {
      LogDebug(L"The tree image %s could not be added.", entry.id);
    }
  }
  (void)TreeView_SetImageList(GetHwnd(), images_.Get(), TVSIL_NORMAL);
}

void CSelectionTree_BT::OnAttached() {
  BuildImages();
  if (context_.record == nullptr || context_.wix == nullptr || context_.msi == nullptr) {
    LogDebug(L"The selection tree has no feature model or installer session; it stays empty.");
    return;
  }
  tree_ = std::make_unique<CFeatureTree>(GetHwnd(), *context_.record, *context_.wix, *context_.msi);
  tree_->Build();
  if (!tree_->GetItems().empty()) (void)TreeView_SelectItem(GetHwnd(), tree_->GetItems().front());
  Publish();
  (void)::PostMessageW(GetHwnd(), kPublishLater, 0, 0);
}

std::wstring CSelectionTree_BT::Localized(const wchar_t* id, const wchar_t* builtIn) const {
  if (context_.wix == nullptr) return builtIn;
  std::wstring text = context_.wix->GetLocalizedText(id);
  return text.empty() || text == id ? std::wstring(builtIn) : text;
}

void CSelectionTree_BT::ShowMenu(HTREEITEM item) {
  CWixFeature* feature = tree_ != nullptr ? tree_->FeatureOf(item) : nullptr;
  if (feature == nullptr) return;
  (void)TreeView_SelectItem(GetHwnd(), item);
  struct IconEntry {
    const wchar_t* id;
    DefaultImage fallback;
  };
  static const IconEntry kMenuIcons[] = {{L"InstallFeatureMenu", DefaultImage::kFeatureLocal},
                                         {L"InstallPartialFeatureMenu", DefaultImage::kFeaturePartial},
                                         {L"DontInstallFeatureMenu", DefaultImage::kFeatureAbsent}};
  HICON icons[3] = {};
  for (int i = 0; i < 3; ++i) {
    HICON packaged = nullptr;
    if (context_.record != nullptr && !BinaryImagePath(*context_.record, kMenuIcons[i].id).empty()) {
      packaged = LoadBinaryIcon(*context_.record, kMenuIcons[i].id, 16);
    }
    if (packaged == nullptr && !menuIcons_[i]) menuIcons_[i] = CreateDefaultIcon(kMenuIcons[i].fallback);
    icons[i] = packaged != nullptr ? packaged : menuIcons_[i].Get();
  }
  CMenuEx_BT menu;
  const bool locked = CFeatureTree::IsLocked(*feature);
  menu.AddItem(kMenuLocal, Localized(L"KV_UITextMenuLocal", L"  This feature will be installed on local hard drive."),
               icons[0], !locked);
  if (!feature->GetChildren().empty()) {
    menu.AddItem(kMenuAllLocal,
                 Localized(L"KV_UITextMenuAllLocal",
                           L"  This feature and all subfeatures will be installed on local hard drive."),
                 icons[1], !locked);
    menu.AddSeparator();
  }
  menu.AddItem(kMenuAbsent, Localized(L"KV_UITextMenuAbsent", L"  This feature will not be available."), icons[2],
               CFeatureTree::IsCommandAllowed(*feature, CFeatureTree::kCommandAbsent));
  RECT rect = {};
  if (!TreeView_GetItemRect(GetHwnd(), item, &rect, TRUE)) return;
  POINT at = {rect.left - kMenuOffset, rect.bottom};
  if (at.x < 0) at.x = 0;
  ::ClientToScreen(GetHwnd(), &at);
  openMenu_ = &menu;
  const UINT command = menu.Track(GetHwnd(), at);
  openMenu_ = nullptr;
  if (command != 0) (void)ApplyCommand(item, command);
}

bool CSelectionTree_BT::ApplyCommand(HTREEITEM item, UINT command) {
  CWixFeature* feature = tree_ != nullptr ? tree_->FeatureOf(item) : nullptr;
  if (feature == nullptr) return false;
  int requested = 0;
  switch (command) {
    case kMenuLocal:
      requested = CFeatureTree::kCommandLocal;
      break;
    case kMenuAllLocal:
      requested = CFeatureTree::kCommandAllLocal;
      break;
    case kMenuAbsent:
      requested = CFeatureTree::kCommandAbsent;
      break;
    default:
      return false;
  }
  const bool changed = tree_->ApplyMenuCommand(*feature, requested);
  (void)TreeView_SelectItem(GetHwnd(), item);
  Publish();
  return changed;
}

std::wstring CSelectionTree_BT::SizeText(const CWixFeature& feature) const {
  int selectedChildren = 0;
  long long childCost = 0;
  for (const auto& child : feature.GetChildren()) {
    if ((child->GetFlags() & CWixFeature::kFlagSelected) == 0) continue;
    ++selectedChildren;
    childCost += SubtreeCost(*child);
  }
  std::wstring text;
  if (selectedChildren == 0) {
    text = Localized(L"UITextSelChildCostPos", L"This feature requires [1] on your hard drive.");
    ReplaceAll(text, L"[1]", FormatSize(feature.GetCost()));
  } else {
    text = Localized(L"UITextSelParentCostPosPos",
                     L"This feature requires [1] on your hard drive. It has [2] of [3] subfeatures selected. The "
                     L"subfeatures require [4] on your hard drive.");
    ReplaceAll(text, L"[1]", FormatSize(feature.GetCost()));
    ReplaceAll(text, L"[2]", std::to_wstring(selectedChildren));
    ReplaceAll(text, L"[3]", std::to_wstring(feature.GetChildren().size()));
    ReplaceAll(text, L"[4]", FormatSize(childCost));
  }
  return text;
}

void CSelectionTree_BT::Publish() {
  if (tree_ == nullptr) return;
  CWixFeature* feature = tree_->FeatureOf(TreeView_GetSelection(GetHwnd()));
  if (feature == nullptr) return;
  const std::wstring& directory = feature->GetConfigurableDirectory();
  const std::wstring property =
      control_ != nullptr && !control_->GetProperty().empty() ? control_->GetProperty() : L"_BrowseProperty";
  context_.msi->SetProperty(property, directory, false);
  const std::wstring description = feature->GetDescription();
  host_.PublishAttribute(kSubscribeSelectionDescription, &description, true);
  const std::wstring path = directory.empty() ? std::wstring() : context_.msi->GetProperty(directory, false);
  const bool hasFolder = !directory.empty() && !path.empty();
  const std::wstring empty;
  host_.PublishAttribute(kSubscribeSelectionPath, &path, hasFolder);
  host_.PublishAttribute(kSubscribeSelectionPathOn, &empty, hasFolder);
  host_.PublishAttribute(kSelectionPathEnabledEvent, &empty, hasFolder);
  const std::wstring size = SizeText(*feature);
  host_.PublishAttribute(kSubscribeSelectionSize, &size, true);
}

bool CSelectionTree_BT::OnNotifyMessage(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case NM_CLICK: {
      const DWORD position = ::GetMessagePos();
      TVHITTESTINFO hit = {};
      hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
      ::ScreenToClient(GetHwnd(), &hit.pt);
      HTREEITEM item = TreeView_HitTest(GetHwnd(), &hit);
      if (item != nullptr && (hit.flags & TVHT_ONITEMICON) != 0) {
        ShowMenu(item);
        result = TRUE;
        return true;
      }
      return false;
    }
    case TVN_SELCHANGEDW:
      Publish();
      result = 0;
      return true;
    case TVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
      if (key.wVKey == VK_SPACE) {
        (void)::PostMessageW(GetHwnd(), kMenuLater, 0, 0);
        result = TRUE;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

LRESULT CSelectionTree_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPublishLater:
      Publish();
      return 0;
    case kMenuLater:
      if (HTREEITEM item = TreeView_GetSelection(GetHwnd())) ShowMenu(item);
      return 0;
    case WM_CHAR:
      if (wParam == L' ') return 0;  // the blank opens the menu; no incremental search on it
      break;
    case WM_CONTEXTMENU:
      // The context-menu key or Shift+F10: the menu of the selected item.
      if (lParam == -1) {
        if (HTREEITEM item = TreeView_GetSelection(GetHwnd())) ShowMenu(item);
        return 0;
      }
      break;
    case WM_MEASUREITEM:
      if (openMenu_ != nullptr && openMenu_->OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (openMenu_ != nullptr && openMenu_->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_GETDLGCODE:
      // Space and the arrows belong to the tree, not to the dialog's default button.
      return CallDefault(message, wParam, lParam) | DLGC_WANTCHARS | DLGC_WANTARROWS;
    default:
      break;
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
