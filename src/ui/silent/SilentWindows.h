#pragma once
// The windows of a silent run that asks for its indicator: the small
// progress window near the notification area, the tray icon's owner, and the
// finish window that reports success, failure or a needed restart. They draw
// with built-in readable colours (a silent run reads no style file) and the
// corporate font, falling back to Arial.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/UniqueResource.h"
#include "ui/host/DialogWindow.h"
#include "ui/host/DlgTemplateBuilder.h"

namespace ui {

// A dialog of the silent run: white ground, dark text, its own font.
class CSilentWindow : public CDialogWindow {
 public:
  CSilentWindow();

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  virtual void OnInitDialog() {}
  // A child control in dialog units, with the window's font; null when refused.
  HWND AddControl(const wchar_t* className, const std::wstring& text, DWORD style, int id, const RECT& units);

  CDlgTemplateBuilder builder_;
  platform::UniqueHFont font_;
  platform::UniqueHBrush background_;
};

class CSilentIndicatorDlg : public CSilentWindow {
 public:
  static constexpr int kIconStatic = 1001;
  static constexpr int kTitleStatic = 1002;
  static constexpr int kMsgStatic = 1003;

  // Shows the window (modeless) at the bottom right of the work area.
  [[nodiscard]] bool Create(const std::wstring& title, HICON icon);
  void SetMessage(const std::wstring& text);
  void Destroy();

 protected:
  void OnInitDialog() override;

 private:
  std::wstring title_;
  HICON icon_ = nullptr;
};

// Owns the tray icon: four animation frames while the run goes on, the failed
// icon at a failure, and the tooltip with the progress text (also the hidden
// window's title, so it can be read from outside).
class CSystemTrayIconDlg : public CSilentWindow {
 public:
  ~CSystemTrayIconDlg() override;
  // `frames` may be empty (a built-in icon then); `failed` may be null.
  [[nodiscard]] bool Create(std::vector<HICON> frames, HICON failed);
  void SetTip(const std::wstring& tip);
  void ShowFailed();
  // Takes the icon out of the notification area; safe to call again.
  void Remove();

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void Notify(DWORD action);

  std::vector<HICON> frames_;
  HICON failed_ = nullptr;
  size_t frame_ = 0;
  bool added_ = false;
  std::wstring tip_;
};

// What a finish window says; the texts come localized or built in.
struct FinishTexts {
  std::wstring title;
  std::wstring message;
  std::wstring logHeading;  // failure only
  std::wstring logPath;     // failure only
  std::wstring restartNow;  // restart windows only
  std::wstring restartLater;
};

// The finish window of one state; ends with 1 for "restart now", else 0.
class CSIFinishDlg : public CSilentWindow {
 public:
  static constexpr int kMsgStatic = 1101;
  static constexpr int kLogHeading = 1102;
  static constexpr int kLogText = 1103;
  static constexpr int kRestartNow = 1104;
  static constexpr int kRestartLater = 1105;

  CSIFinishDlg(int state, FinishTexts texts) : state_(state), texts_(std::move(texts)) {}
  // The window's end value; -1 when it could not be created.
  INT_PTR DoModal();

 protected:
  void OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  [[nodiscard]] bool AsksForRestart() const { return state_ == 1 || state_ == 3; }

  int state_;
  FinishTexts texts_;
};

class CSIFinishSuccessDlg : public CSIFinishDlg {
 public:
  explicit CSIFinishSuccessDlg(FinishTexts texts) : CSIFinishDlg(0, std::move(texts)) {}
};
class CSIFinishSuccessWithRestartDlg : public CSIFinishDlg {
 public:
  explicit CSIFinishSuccessWithRestartDlg(FinishTexts texts) : CSIFinishDlg(1, std::move(texts)) {}
};
class CSIFinishFailureDlg : public CSIFinishDlg {
 public:
  explicit CSIFinishFailureDlg(FinishTexts texts) : CSIFinishDlg(2, std::move(texts)) {}
};
class CSIIntermediateRestartDlg : public CSIFinishDlg {
 public:
  explicit CSIIntermediateRestartDlg(FinishTexts texts) : CSIFinishDlg(3, std::move(texts)) {}
};

}  // namespace ui
