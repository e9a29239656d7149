#include "ui/controls/ControlWindow.h"

#include <commctrl.h>

#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "wix/WixControl.h"

namespace ui {

namespace {
constexpr UINT_PTR kSubclassId = 0x5E7u;
// Test drivers and screen readers find a control by its WiX id through this property.
constexpr wchar_t kControlIdProperty[] = L"SetupControlId";
// The object behind the window, for the parent's reflected notifications.
constexpr wchar_t kObjectProperty[] = L"SetupControlObject";
}  // namespace

std::wstring GetWindowTextString(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

CControlWindow::CControlWindow(const CWixControl* control, const ControlContext& context)
    : control_(control), context_(context) {}

CControlWindow::~CControlWindow() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
    HWND window = hwnd_;
    Detach();
    ::DestroyWindow(window);
  }
}

bool CControlWindow::Create(DWORD extendedStyle, const wchar_t* className, const std::wstring& text, DWORD style,
                            const RECT& rect, HWND parent, int id) {
  HWND window = ::CreateWindowExW(extendedStyle, className, text.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                  nullptr);
  if (window == nullptr) return false;
  hwnd_ = window;
  ::SetPropW(window, kObjectProperty, reinterpret_cast<HANDLE>(this));
  if (!::SetWindowSubclass(window, &CControlWindow::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    LogDebug(L"The control window %d could not be subclassed.", id);
  }
  nameAtom_ = ::GlobalAddAtomW(GetAccessibleName().c_str());
  if (nameAtom_ != 0) ::SetPropW(window, kControlIdProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_)));
  return true;
}

std::wstring CControlWindow::GetAccessibleName() const {
  if (control_ != nullptr && !control_->GetId().empty()) return control_->GetId();
  return platform::Format(AccessibleNamePattern(), static_cast<long>(hwnd_ != nullptr ? ::GetDlgCtrlID(hwnd_) : 0));
}

CControlWindow* CControlWindow::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  return reinterpret_cast<CControlWindow*>(::GetPropW(window, kObjectProperty));
}

LRESULT CControlWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallDefault(message, wParam, lParam);
}

LRESULT CControlWindow::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

std::wstring CControlWindow::GetPropertyValue() const {
  if (context_.msi == nullptr || control_ == nullptr || control_->GetProperty().empty()) return std::wstring();
  return context_.msi->GetProperty(control_->GetProperty(), control_->HasAttribute(wixbits::kIndirect));
}

void CControlWindow::SetPropertyValue(const std::wstring& value) const {
  if (context_.msi == nullptr || control_ == nullptr || control_->GetProperty().empty()) return;
  context_.msi->SetProperty(control_->GetProperty(), value, control_->HasAttribute(wixbits::kIndirect));
}

void CControlWindow::Detach() {
  if (hwnd_ == nullptr) return;
  ::RemoveWindowSubclass(hwnd_, &CControlWindow::SubclassProc, kSubclassId);
  ::RemovePropW(hwnd_, kControlIdProperty);
  ::RemovePropW(hwnd_, kObjectProperty);
  if (nameAtom_ != 0) ::GlobalDeleteAtom(nameAtom_);
  nameAtom_ = 0;
  hwnd_ = nullptr;
}

LRESULT CALLBACK CControlWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
  auto* self = reinterpret_cast<CControlWindow*>(data);
  if (message == WM_NCDESTROY) {
    LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    self->Detach();
    return result;
  }
  return self->WindowProc(message, wParam, lParam);
}

}  // namespace ui
