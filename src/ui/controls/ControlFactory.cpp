#include "ui/controls/ControlFactory.h"

#include <commctrl.h>

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/controls/Button_BT.h"
#include "ui/controls/CheckBox_BT.h"
#include "ui/controls/ControlImages.h"
#include "ui/controls/DirectoryCombo_BT.h"
#include "ui/controls/DirectoryList_BT.h"
#include "ui/controls/Edit_BT.h"
#include "ui/controls/Frame_BT.h"
#include "ui/controls/HyperLink.h"
#include "ui/controls/ListControls_BT.h"
#include "ui/controls/PathEdit_BT.h"
#include "ui/controls/Picture_BT.h"
#include "ui/controls/RadioButton_BT.h"
#include "ui/controls/SelectionTree_BT.h"
#include "ui/controls/Text_BT.h"
#include "ui/controls/VolumeCostList_BT.h"
#include "ui/style/IStyleConfigData.h"
#include "wix/IWixDataManager.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {

int g_lastControlId = 1024;

constexpr DWORD kBitmapStyle = 0x50000A0E;
constexpr DWORD kCheckBoxStyle = 0x50030003;
constexpr DWORD kComboBoxStyle = 0x50230003;  // sorted only when the author asks (CBS_SORT)
constexpr DWORD kEditStyle = 0x50814080;
constexpr DWORD kGroupBoxStyle = 0x50000007;
constexpr DWORD kIconStyle = 0x50000203;
constexpr DWORD kLineStyle = WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ | SS_SUNKEN;
constexpr DWORD kListBoxStyle = 0x50A30001;
constexpr DWORD kPathEditStyle = 0x50814180;
constexpr DWORD kProgressBarStyle = 0x50000001;
constexpr DWORD kPushButtonStyle = 0x50010000;
constexpr DWORD kRadioGroupStyle = 0x50020000;
constexpr DWORD kFirstRadioStyle = 0x50030009;
constexpr DWORD kRadioStyle = 0x50000009;
constexpr DWORD kScrollableTextStyle = 0x50A00804;
constexpr DWORD kTextStyle = 0x50002000 | SS_OWNERDRAW;
constexpr DWORD kHyperlinkStyle = 0x50002000 | SS_NOTIFY;
constexpr DWORD kSelectionTreeStyle = 0x50830037;
constexpr DWORD kDirectoryComboStyle = 0x50230003;
constexpr DWORD kDirectoryListStyle = 0x50A3035F;
constexpr DWORD kVolumeCostListStyle = 0x50B30005;
constexpr DWORD kVolumeSelectComboStyle = 0x50230003;
// A drop-down list needs room below its field for the open list.
constexpr int kComboDropHeight = 160;

void MakeDefaultButton(HWND dialog, HWND button) {
  LRESULT previous = ::SendMessageW(dialog, DM_GETDEFID, 0, 0);
  if (HIWORD(previous) == DC_HASDEFID) {
    HWND old = ::GetDlgItem(dialog, LOWORD(previous));
    if (old != nullptr && old != button) ::SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  ::SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(button)), 0);
  ::SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

}  // namespace

int CControlFactory::NextControlId() { return ++g_lastControlId; }

int CControlFactory::CreateDialogControls(const CWixDialog& dialog, IControlHost& host) {
  if (dialog.GetControlCount() == 0) {
    LogDebug(L"No Controls are available for the dialog, %s.", dialog.GetId().c_str());
    return 0;
  }
  int created = 0;
  for (const auto& control : dialog.GetControls()) {
    if (CreateControl(*control, host)) ++created;
  }
  // Texts marked Transparent are drawn over the bitmap under them (the
  // banners of the standard WiX pages author their Title and Description
  // before the BannerBitmap): bitmaps go to the top of the sibling order,
  // which is painted first, whatever their place in the authoring.
  const auto& controls = dialog.GetControls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if ((*it)->GetType() != kWixBitmap) continue;
    if (CControlWindow* bitmap = host.FindControl((*it)->GetId())) {
      ::SetWindowPos(bitmap->GetHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return created;
}

bool CControlFactory::CreateControl(const CWixControl& control, IControlHost& host) {
  const ControlContext& context = host.GetControlContext();
  std::unique_ptr<CControlWindow> object;
  DWORD style = 0;
  DWORD extendedStyle = 0;
  const wchar_t* className = L"STATIC";
  const int type = control.GetType();
  switch (type) {
    case kWixBitmap: {
      auto bitmap = std::make_unique<CBitmap_BT>(&control, context);
      const RECT& rect = control.GetRect();
      if (context.record != nullptr) {
        bitmap->TakeBitmap(LoadBinaryBitmap(*context.record, control.GetText(), rect.right - rect.left,
                                            rect.bottom - rect.top));
      }
      object = std::move(bitmap);
      style = kBitmapStyle;
      break;
    }
    case kWixCheckBox:
      object = std::make_unique<CCheckBox_BT>(&control, context);
      style = kCheckBoxStyle;
      className = L"BUTTON";
      break;
    case kWixComboBox:
      object = std::make_unique<CComboBox_BT>(&control, context);
      style = kComboBoxStyle | (control.HasAttribute(wixbits::kSorted) ? CBS_SORT : 0);
      className = L"COMBOBOX";
      break;
    case kWixEdit:
      object = std::make_unique<CEdit_BT>(&control, context, false);
      style = kEditStyle;
      if (control.IsPassword()) style |= ES_PASSWORD;
      className = CEdit_BT::WindowClass();
      break;
    case kWixPathEdit:
      object = std::make_unique<CPathEdit_BT>(&control, context);
      style = kPathEditStyle;
      className = CEdit_BT::WindowClass();
      break;
    case kWixDirectoryCombo:
      object = std::make_unique<CDirectoryCombo_BT>(&control, context, host);
      style = kDirectoryComboStyle;
      className = WC_COMBOBOXEXW;
      break;
    case kWixVolumeCostList:
    case kWixVolumeSelectCombo:
      object = std::make_unique<CVolumeCostList_BT>(&control, context);
      style = type == kWixVolumeCostList ? kVolumeCostListStyle : kVolumeSelectComboStyle;
      className = WC_LISTVIEWW;
      break;
    case kWixDirectoryList:
      object = std::make_unique<CDirectoryListCtrl_BT>(&control, context, host);
      style = kDirectoryListStyle;
      className = WC_LISTVIEWW;
      extendedStyle = WS_EX_CLIENTEDGE;
      break;
    case kWixScrollableText:
      object = std::make_unique<CEdit_BT>(&control, context, true);
      style = kScrollableTextStyle;
      className = CEdit_BT::WindowClass();
      break;
    case kWixGroupBox:
      object = std::make_unique<CGroupBox_BT>(&control, context);
      style = kGroupBoxStyle;
      className = L"BUTTON";
      break;
    case kWixIcon: {
      const RECT& rect = control.GetRect();
      const int size = control.GetIconSize() > 0 ? control.GetIconSize() : rect.bottom - rect.top;
      HICON icon = context.record != nullptr ? LoadBinaryIcon(*context.record, control.GetText(), size) : nullptr;
      if (icon == nullptr && context.record != nullptr) icon = context.record->GetSetupIcon();
      object = std::make_unique<CIcon_BT>(&control, context, icon);
      style = kIconStyle;
      break;
    }
    case kWixLine:
      object = std::make_unique<CLine_BT>(&control, context);
      style = kLineStyle;
      break;
    case kWixListBox:
      object = std::make_unique<CListBox_BT>(&control, context);
      style = kListBoxStyle | (control.HasAttribute(wixbits::kSorted) ? LBS_SORT : 0);
      className = L"LISTBOX";
      break;
    case kWixProgressBar:
      object = std::make_unique<CProgressBar_BT>(&control, context);
      style = kProgressBarStyle;
      className = PROGRESS_CLASSW;
      break;
    case kWixPushButton: {
      if (control.HasBitmap() || control.HasIcon()) {
        const RECT& rect = control.GetRect();
        HBITMAP image = nullptr;
        HICON icon = nullptr;
        platform::UniqueHBitmap loaded;
        if (context.record != nullptr && control.HasBitmap()) {
          loaded = LoadBinaryBitmap(*context.record, control.GetImageId(), rect.right - rect.left,
                                    rect.bottom - rect.top);
          image = loaded.Get();
        } else if (context.record != nullptr) {
          icon = LoadBinaryIcon(*context.record, control.GetImageId(),
                                control.GetIconSize() > 0 ? control.GetIconSize() : 16);
        }
        auto button = std::make_unique<CBitmapButton_BT>(&control, context, image, icon);
        // The page keeps the bitmap as long as the button: hand it over as a sibling object.
        if (loaded) {
          auto keeper = std::make_unique<CBitmap_BT>(nullptr, context);
          keeper->TakeBitmap(std::move(loaded));
          host.AdoptControl(std::move(keeper));
        }
        object = std::move(button);
      } else {
        object = std::make_unique<CButton_BT>(&control, context);
      }
      style = kPushButtonStyle;
      className = L"BUTTON";
      break;
    }
    case kWixRadioButtonGroup:
      object = std::make_unique<CRadioBtnGroup_BT>(&control, context);
      style = kRadioGroupStyle;
      extendedStyle = WS_EX_CONTROLPARENT;
      break;
    case kWixText:
      if (IsHyperlinkId(control.GetId())) {
        object = std::make_unique<CHyperLink>(&control, context, HyperlinkTarget(control, context));
        style = kHyperlinkStyle;
      } else {
        object = std::make_unique<CText_BT>(&control, context);
        style = kTextStyle;
      }
      break;
    case kWixSelectionTree:
      object = std::make_unique<CSelectionTree_BT>(&control, context, host);
      style = kSelectionTreeStyle;
      className = WC_TREEVIEWW;
      break;
    default:
      LogDebug(L"Unknown control type %x,", type);
      break;
  }
  return CreateControlWindow(std::move(object), style, extendedStyle, className, control, host);
}

bool CControlFactory::CreateControlWindow(std::unique_ptr<CControlWindow> object, DWORD style, DWORD extendedStyle,
                                          const wchar_t* className, const CWixControl& control, IControlHost& host) {
  if (object == nullptr) {
    LogError(L"The custom control class could not be created for the wix control, %s.", control.GetId().c_str());
    return false;
  }
  const ControlContext& context = host.GetControlContext();
  RECT rect = host.AdjustControlRect(control.GetRect());
  if (control.GetType() == kWixComboBox) rect.bottom += kComboDropHeight;
  if (control.GetType() == kWixLine && rect.bottom - rect.top < 2) rect.bottom = rect.top + 2;
  std::wstring text = control.GetType() == kWixScrollableText ? std::wstring() : control.GetText();
  if (!text.empty() && context.msi != nullptr) context.msi->FormatText(text);
  if (!control.IsVisible()) style &= ~static_cast<DWORD>(WS_VISIBLE);
  const int id = NextControlId();
  CControlWindow* created = object.get();
  if (!created->Create(extendedStyle, className, text, style, rect, host.GetHwnd(), id)) {
    LogError(L"The custom control window could not be created for the wix control, %s.", control.GetId().c_str());
    return false;
  }
  host.AdoptControl(std::move(object));
  HWND window = created->GetHwnd();
  if (auto* button = dynamic_cast<COddButton*>(created)) button->MakeOwnerDrawn();

  if (control.GetType() != kWixScrollableText) {
    HFONT font = nullptr;
    if (!control.GetTextStyle().empty() && context.style != nullptr) font = context.style->GetFont(control.GetTextStyle());
    if (font == nullptr) font = host.GetDialogFont();
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  for (const WixSubscribe& subscribe : control.GetSubscribes()) {
    host.AddSubscriber(subscribe.event, subscribe.attribute, window);
  }
  host.RegisterConditions(window, control.GetConditions());
  if (!control.IsEnabled()) ::EnableWindow(window, FALSE);
  (void)host.GetControlCollection().Add(id, CControlBinding{context.msi, window, &control});
  if (!control.GetProperty().empty()) host.RememberPropertyControl(control.GetProperty(), created);
  if (control.IsCancel()) host.MarkCancelControl();

  if (auto* group = dynamic_cast<CRadioBtnGroup_BT*>(created)) CreateRadioButtons(*group, control, host);
  if (control.GetType() == kWixPushButton && control.IsDefault()) MakeDefaultButton(host.GetHwnd(), window);
  created->OnAttached();
  return true;
}

void CControlFactory::CreateRadioButtons(CRadioBtnGroup_BT& group, const CWixControl& control, IControlHost& host) {
  const auto& items = control.GetRadioButtons();
  if (items.empty()) {
    LogDebug(L"No items are available for the control, %s.", control.GetId().c_str());
    return;
  }
  const ControlContext& context = host.GetControlContext();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(group.GetHwnd(), WM_GETFONT, 0, 0));
  bool first = true;
  for (const WixRadioButton& item : items) {
    // A radio button has no WiX id of its own: it is named by its identifier.
    auto button = std::make_unique<CRadioBtn_BT>(nullptr, context, group, item);
    std::wstring text = item.text;
    if (!text.empty() && context.msi != nullptr) context.msi->FormatText(text);
    if (!button->Create(0, L"BUTTON", text, first ? kFirstRadioStyle : kRadioStyle, item.rect, group.GetHwnd(),
                        NextControlId())) {
      LogError(L"The custom control window could not be created for the wix control, %s.", control.GetId().c_str());
      continue;
    }
    first = false;
    button->MakeOwnerDrawn();
    HFONT itemFont = !item.textStyle.empty() && context.style != nullptr ? context.style->GetFont(item.textStyle) : nullptr;
    ::SendMessageW(button->GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(itemFont != nullptr ? itemFont : font), TRUE);
    group.AddButton(std::move(button));
  }
}

std::wstring CControlFactory::HyperlinkTarget(const CWixControl& control, const ControlContext& context) const {
  std::wstring target = control.GetText();
  if (platform::StartsWith(control.GetId(), L"HypelinkTextDescriptionHTMLpage") && wix_ != nullptr) {
    target = wix_->GetLocalizedText(L"HTMLPAGEPATHClickHere");
  }
  if (context.msi != nullptr) context.msi->FormatText(target);
  return target;
}

}  // namespace ui
