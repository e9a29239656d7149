#include "ui/host/DynamicDialog.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "ui/controls/IPropertyControl.h"
#include "ui/host/WizardController.h"
#include "ui/style/IMaindialogConfigData.h"
#include "ui/style/IStyleConfigData.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {
// Test drivers and screen readers find a dialog by its WiX id through this property.
constexpr wchar_t kDialogIdProperty[] = L"SetupDialogId";

bool IsActivation(const CWixControl& control, WORD code) {
  switch (control.GetType()) {
    case kWixComboBox:
    case kWixListBox:
      return code == CBN_SELCHANGE;  // the same value as LBN_SELCHANGE
    case kWixEdit:
    case kWixPathEdit:
      return false;
    default:
      return code == BN_CLICKED;
  }
}
}  // namespace

CDynamicDialog::CDynamicDialog(const CWixDialog& dialog, const DialogServices& services, int mode)
    : dialog_(dialog),
      services_(services),
      mode_(mode),
      conditions_(services.dispatcher != nullptr ? services.dispatcher->GetMSIManager() : nullptr) {
  if (services_.style != nullptr) (void)services_.style->GetDialogColour(background_);
  backgroundBrush_.Reset(::CreateSolidBrush(background_));
  if (services_.mainConfig != nullptr) (void)services_.mainConfig->GetTitleBarHeight(titleBarHeight_);
  context_.msi = services_.dispatcher != nullptr ? services_.dispatcher->GetMSIManager() : nullptr;
  context_.style = services_.style;
  context_.record = services_.record;
  context_.background = background_;
  context_.backgroundBrush = backgroundBrush_.Get();
  context_.wix = services_.wix;
}

CDynamicDialog::~CDynamicDialog() {
  if (nameAtom_ != 0) ::GlobalDeleteAtom(nameAtom_);
}

void CDynamicDialog::BuildTemplate(DWORD style, DWORD extendedStyle, const RECT& rect, const std::wstring& title) {
  std::wstring face = L"MS Shell Dlg";
  int size = 8;
  if (services_.style != nullptr && !services_.style->GetDefaultUIFont(face, size)) {
    face = L"MS Shell Dlg";
    size = 8;
  }
  builder_.Build(style | DS_SETFONT, extendedStyle, rect, title, static_cast<WORD>(size > 0 ? size : 8), face);
}

void CDynamicDialog::OnInitDialog() {
  HWND window = GetHwnd();
  nameAtom_ = ::GlobalAddAtomW(dialog_.GetId().c_str());
  if (nameAtom_ != 0) ::SetPropW(window, kDialogIdProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_)));
  if (services_.record != nullptr) {
    if (HICON icon = services_.record->GetSetupIcon()) {
      ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
  }
  dialogFont_ = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
  (void)CControlFactory(services_.wix).CreateDialogControls(dialog_, *this);
  conditions_.EvaluateAll();
  if (HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE)) ::SetFocus(first);
  if (mode_ == kShowPreInstall) {
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  }
  // Default buttons set while the controls were created take effect now.
  LRESULT defaultId = ::SendMessageW(window, DM_GETDEFID, 0, 0);
  if (HIWORD(defaultId) == DC_HASDEFID) ::SendMessageW(window, DM_SETDEFID, LOWORD(defaultId), 0);
}

void CDynamicDialog::OnEndDialogEvent(int) {}

void CDynamicDialog::ResetProperties() {
  IMSIManager* msi = context_.msi;
  if (msi == nullptr) return;
  for (const PropertyControl& entry : propertyControls_) {
    if (entry.initialValue.empty()) continue;
    const CWixControl* wixControl = entry.control->GetWixControl();
    const bool indirect = wixControl != nullptr && wixControl->HasAttribute(wixbits::kIndirect);
    msi->SetProperty(entry.property, entry.initialValue, indirect);
    if (auto* bound = dynamic_cast<IPropertyControl*>(entry.control)) {
      bound->RefreshFromProperty();
    } else {
      entry.control->OnAttached();
    }
  }
}

void CDynamicDialog::AddSubscriber(int event, int attribute, HWND window) {
  subscribers_.AddSubscriber(event, attribute, window);
}

void CDynamicDialog::RegisterConditions(HWND window, const std::vector<WixCondition>& conditions) {
  conditions_.Register(window, conditions);
}

void CDynamicDialog::RememberPropertyControl(const std::wstring& property, CControlWindow* control) {
  std::wstring initial;
  const CWixControl* wixControl = control->GetWixControl();
  if (context_.msi != nullptr && wixControl != nullptr) {
    initial = context_.msi->GetProperty(property, wixControl->HasAttribute(wixbits::kIndirect));
  }
  propertyControls_.push_back(PropertyControl{property, control, initial});
}

CControlWindow* CDynamicDialog::AdoptControl(std::unique_ptr<CControlWindow> control) {
  controls_.push_back(std::move(control));
  return controls_.back().get();
}

void CDynamicDialog::PublishAttribute(int event, const std::wstring* text, bool enabled) {
  const auto* list = subscribers_.GetSubscribers(event);
  if (list == nullptr) return;
  for (const CSubscriberRegistry::Subscriber& subscriber : *list) {
    if (subscriber.attribute == kSubscribeText && text != nullptr) {
      if (auto* bound = dynamic_cast<IPropertyControl*>(CControlWindow::FromHandle(subscriber.window))) {
        bound->SetDisplayText(*text);
      } else {
        ::SetWindowTextW(subscriber.window, text->c_str());
      }
      ::InvalidateRect(subscriber.window, nullptr, TRUE);
    } else if (subscriber.attribute == kSubscribeEnabled) {
      ::EnableWindow(subscriber.window, enabled ? TRUE : FALSE);
    } else if (subscriber.attribute == kSubscribeVisible) {
      ::ShowWindow(subscriber.window, enabled ? SW_SHOWNA : SW_HIDE);
    }
  }
}

CControlWindow* CDynamicDialog::FindControl(const std::wstring& id) const {
  for (const auto& control : controls_) {
    if (control->GetWixControl() != nullptr && control->GetWixControl()->GetId() == id) return control.get();
  }
  return nullptr;
}

void CDynamicDialog::RefreshPropertyControls() {
  for (const PropertyControl& entry : propertyControls_) {
    if (auto* bound = dynamic_cast<IPropertyControl*>(entry.control)) bound->RefreshFromProperty();
  }
}

void CDynamicDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  const WORD id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (id == IDCANCEL && (lParam == 0 || CControlWindow::FromHandle(reinterpret_cast<HWND>(lParam)) == nullptr)) {
    OnCancel();
    return;
  }
  if (id == 0) return;
  if (CControlWindow* object = CControlWindow::FromHandle(reinterpret_cast<HWND>(lParam))) object->OnNotify(code);
  const CControlBinding* binding = collection_.Find(id);
  if (binding == nullptr || binding->control == nullptr) return;
  conditions_.EvaluateAll();
  if (binding->control->GetPublishes().empty() || !IsActivation(*binding->control, code)) return;
  eventsStopped_ = false;
  if (services_.dispatcher != nullptr) services_.dispatcher->OnControlActivated(const_cast<CWixControl*>(binding->control));
}

void CDynamicDialog::OnPaint(HDC dc, const RECT& client) { ::FillRect(dc, &client, backgroundBrush_.Get()); }

INT_PTR CDynamicDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the focus is set
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      CControlWindow* control = header != nullptr ? CControlWindow::FromHandle(header->hwndFrom) : nullptr;
      LRESULT result = 0;
      if (control != nullptr && control->OnNotifyMessage(*header, result)) {
        ::SetWindowLongPtrW(GetHwnd(), DWLP_MSGRESULT, result);
        return TRUE;
      }
      handled = false;
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      CControlWindow* control = CControlWindow::FromHandle(item->hwndItem);
      return control != nullptr && control->OnDrawItem(*item) ? TRUE : FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG: {
      auto dc = reinterpret_cast<HDC>(wParam);
      if (CControlWindow* control = CControlWindow::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnCtlColor(dc)) return reinterpret_cast<INT_PTR>(brush);
      }
      if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        handled = false;
        return 0;
      }
      ::SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(backgroundBrush_.Get());
    }
    case WM_ERASEBKGND:
      return TRUE;  // the paint covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(GetHwnd(), &paint);
      RECT client;
      ::GetClientRect(GetHwnd(), &client);
      OnPaint(dc, client);
      ::EndPaint(GetHwnd(), &paint);
      return TRUE;
    }
    case WM_NCPAINT: {
      ::DefWindowProcW(GetHwnd(), message, wParam, lParam);
      HDC dc = ::GetWindowDC(GetHwnd());
      DrawFrame(dc);
      ::ReleaseDC(GetHwnd(), dc);
      return TRUE;
    }
    case WM_KEYDOWN:
      if (wParam == VK_CANCEL) return TRUE;  // Ctrl+Break must not end a dialog
      break;
    case WM_NCDESTROY:
      ::RemovePropW(GetHwnd(), kDialogIdProperty);
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace ui
