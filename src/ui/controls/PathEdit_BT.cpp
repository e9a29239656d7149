#include "ui/controls/PathEdit_BT.h"

#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/controls/Edit_BT.h"
#include "wix/IWixDataManager.h"
#include "wix/WixControl.h"

namespace ui {

namespace {

constexpr UINT kMessageStyle = MB_OK | MB_ICONEXCLAMATION;  // 0x30

// Said when the package's localization has no text for the message.
const wchar_t* BuiltInMessage(const std::wstring& id) {
  if (id == L"Error1314") return L"The specified path '[2]' is unavailable.";
  if (id == L"Error1324") return L"The folder path '[2]' contains an invalid character.";
  return L"Invalid Drive: [2]";
}

}  // namespace

CPathEdit_BT::CPathEdit_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context) {}

std::wstring CPathEdit_BT::MessageText(const IWixDataManager* wix, const std::wstring& messageId,
                                       const std::wstring& path) {
  std::wstring text = wix != nullptr ? wix->GetLocalizedText(messageId) : std::wstring();
  if (text.empty() || text == messageId) text = BuiltInMessage(messageId);
  (void)platform::ReplaceAll(text, L"[2]", path);
  return text;
}

void CPathEdit_BT::OnAttached() {
  RefreshFromProperty();
}

void CPathEdit_BT::RefreshFromProperty() {
  committed_ = GetPropertyValue();
  ::SetWindowTextW(GetHwnd(), committed_.c_str());
}

void CPathEdit_BT::SetDisplayText(const std::wstring& text) {
  committed_ = text;
  ::SetWindowTextW(GetHwnd(), text.c_str());
}

bool CPathEdit_BT::Commit() {
  const std::wstring text = GetWindowTextString(GetHwnd());
  if (committing_ || text == committed_) return true;
  // Told once: the message box itself takes the focus away again.
  if (text == rejected_) return false;
  committing_ = true;
  const PathCheck check = ValidatePath(text, false);
  bool accepted = check.valid;
  if (!accepted) {
    LogInformation(L"The folder %s is refused (%s).", text.c_str(), check.messageId.c_str());
    rejected_ = text;
    ::MessageBoxW(nullptr, MessageText(context_.wix, check.messageId, text).c_str(), L"Setup", kMessageStyle);
  } else {
    committed_ = check.path;
    SetPropertyValue(check.path);
    if (check.path != text) ::SetWindowTextW(GetHwnd(), check.path.c_str());
  }
  committing_ = false;
  return accepted;
}

LRESULT CPathEdit_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE && lParam != 0) {
    // The dialog asks before it turns Enter into the default button: the
    // typed folder must be in the property by then.
    const MSG* pending = reinterpret_cast<const MSG*>(lParam);
    if (pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) (void)Commit();
  } else if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    (void)Commit();
  } else if (message == WM_KILLFOCUS) {
    const LRESULT result = CallDefault(message, wParam, lParam);
    (void)Commit();
    return result;
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
