#pragma once
// Base of the wizard's control family: a standard Windows control subclassed
// by a C++ object that draws it in the bundle's style, binds it to a Windows
// Installer property and names it for screen readers and test drivers.

#include <windows.h>

#include <string>

class CWixControl;
class IMSIManager;
class ISetupConfigData;
class IStyleConfigData;
class IWixDataManager;

namespace ui {

// What every control of one dialog shares.
struct ControlContext {
  IMSIManager* msi = nullptr;  // null before the main package is open
  IStyleConfigData* style = nullptr;
  ISetupConfigData* record = nullptr;
  COLORREF background = RGB(255, 255, 255);
  HBRUSH backgroundBrush = nullptr;  // owned by the dialog
  const IWixDataManager* wix = nullptr;  // features and localized texts; may be null
};

class CControlWindow {
 public:
  CControlWindow(const CWixControl* control, const ControlContext& context);
  virtual ~CControlWindow();
  CControlWindow(const CControlWindow&) = delete;
  CControlWindow& operator=(const CControlWindow&) = delete;

  // Creates the window and subclasses it; false when Windows refuses.
  [[nodiscard]] bool Create(DWORD extendedStyle, const wchar_t* className, const std::wstring& text, DWORD style,
                            const RECT& rect, HWND parent, int id);

  [[nodiscard]] HWND GetHwnd() const { return hwnd_; }
  [[nodiscard]] const CWixControl* GetWixControl() const { return control_; }
  // The name screen readers and test drivers know the control by.
  [[nodiscard]] std::wstring GetAccessibleName() const;

  // Notifications the parent reflects back to the control it came from.
  virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
  // The brush for WM_CTLCOLOR*; null lets the dialog use its background.
  virtual HBRUSH OnCtlColor(HDC) { return nullptr; }
  // A WM_COMMAND notification from this control (BN_CLICKED, EN_CHANGE ...).
  virtual void OnNotify(WORD) {}
  // After creation, font and binding: read the bound value and show it.
  virtual void OnAttached() {}
  // A WM_NOTIFY from this control; true when handled, with the message's result.
  virtual bool OnNotifyMessage(const NMHDR&, LRESULT&) { return false; }

  // The object behind a control window of this family, or null.
  static CControlWindow* FromHandle(HWND window);

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);
  // The accessibility pattern of the member, e.g. "BootstrapperButton%ld".
  [[nodiscard]] virtual const wchar_t* AccessibleNamePattern() const { return L"BootstrapperControl%ld"; }

  [[nodiscard]] std::wstring GetPropertyValue() const;
  void SetPropertyValue(const std::wstring& value) const;

  const CWixControl* control_;
  ControlContext context_;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  void Detach();

  HWND hwnd_ = nullptr;
  ATOM nameAtom_ = 0;
};

// Window text of a control as a string.
std::wstring GetWindowTextString(HWND window);

}  // namespace ui
