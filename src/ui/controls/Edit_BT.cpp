#include "ui/controls/Edit_BT.h"

#include <richedit.h>

#include <string>

#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/SystemPaths.h"
#include "wix/WixControl.h"

namespace ui {

namespace {

struct StreamSource {
  const std::string* bytes;
  size_t offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const size_t left = source->bytes->size() - source->offset;
  const size_t count = left < static_cast<size_t>(wanted) ? left : static_cast<size_t>(wanted);
  memcpy(buffer, source->bytes->data() + source->offset, count);
  source->offset += count;
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

const wchar_t* CEdit_BT::WindowClass() {
  // Kept for the whole process: the class lives as long as the library.
  static platform::UniqueModule library = platform::LoadSystemLibrary(L"riched20.dll");
  if (!library) {
    static bool logged = false;
    if (!logged) LogWarning(L"The rich edit library could not be loaded; plain edit controls are used.");
    logged = true;
    return L"EDIT";
  }
  return RICHEDIT_CLASSW;
}

CEdit_BT::CEdit_BT(const CWixControl* control, const ControlContext& context, bool scrollableText)
    : CControlWindow(control, context), scrollableText_(scrollableText) {}

void CEdit_BT::OnAttached() {
  HWND window = GetHwnd();
  if (scrollableText_) {
    ::SendMessageW(window, EM_SETBKGNDCOLOR, 0, ::GetSysColor(COLOR_WINDOW));
    StreamRichText(control_ != nullptr ? control_->GetText() : std::wstring());
    return;
  }
  if (control_ != nullptr && control_->IsPassword()) ::SendMessageW(window, EM_SETPASSWORDCHAR, L'*', 0);
  ::SendMessageW(window, EM_SETEVENTMASK, 0, ENM_CHANGE);
  RefreshFromProperty();
}

void CEdit_BT::StreamRichText(const std::wstring& text) {
  const std::wstring trimmed = platform::TrimLeft(text);
  if (!platform::StartsWith(trimmed, L"{\\rtf")) {
    // Authors sometimes give plain text; show it as it is rather than nothing.
    ::SetWindowTextW(GetHwnd(), text.c_str());
    return;
  }
  // Rich text is 8-bit: each character goes to the stream as one byte.
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(static_cast<char>(c & 0xFF));
  StreamSource source{&bytes, 0};
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = &ReadStream;
  ::SendMessageW(GetHwnd(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0 || ::GetWindowTextLengthW(GetHwnd()) == 0) {
    LogDebug(L"The rich text of the control %s could not be read; it is shown as plain text.",
             control_ != nullptr ? control_->GetId().c_str() : L"");
    ::SetWindowTextW(GetHwnd(), text.c_str());
  }
}

void CEdit_BT::RefreshFromProperty() {
  if (scrollableText_) return;
  refreshing_ = true;
  ::SetWindowTextW(GetHwnd(), GetPropertyValue().c_str());
  refreshing_ = false;
}

void CEdit_BT::SetDisplayText(const std::wstring& text) { ::SetWindowTextW(GetHwnd(), text.c_str()); }

void CEdit_BT::OnNotify(WORD code) {
  if (scrollableText_ || refreshing_ || code != EN_CHANGE) return;
  SetPropertyValue(GetWindowTextString(GetHwnd()));
}

HBRUSH CEdit_BT::OnCtlColor(HDC) { return nullptr; }

LRESULT CEdit_BT::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_RETURN && !scrollableText_) {
    SetPropertyValue(GetWindowTextString(GetHwnd()));
  }
  return CallDefault(message, wParam, lParam);
}

}  // namespace ui
