#pragma once
// Every message box of the program goes through here, so in-process tests can
// answer them instead of blocking on a window nobody will press.

#include <windows.h>

#include <functional>
#include <string>

namespace platform {

// Shows a message box (owner, text, caption, MB_* flags); returns the button id.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

using MessageBoxHandler = std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)>;

// Replaces the real message box for this process (tests); an empty handler restores it.
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace platform
