#pragma once
// Turns the WiX controls of a dialog into windows of the control family and
// wires them to the dialog: font, subscriptions, conditions, property binding
// and the default button.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/ControlCollection.h"
#include "ui/controls/ControlWindow.h"

class CWixControl;
class CWixDialog;
class IWixDataManager;
struct WixCondition;

namespace ui {

// What a dialog offers the controls it hosts.
class IControlHost {
 public:
  [[nodiscard]] virtual HWND GetHwnd() const = 0;
  // Where a control authored at `rect` (pixels) lies in the dialog's client area.
  [[nodiscard]] virtual RECT AdjustControlRect(const RECT& rect) const = 0;
  [[nodiscard]] virtual HFONT GetDialogFont() const = 0;
  [[nodiscard]] virtual const ControlContext& GetControlContext() const = 0;
  virtual void AddSubscriber(int event, int attribute, HWND window) = 0;
  virtual void RegisterConditions(HWND window, const std::vector<WixCondition>& conditions) = 0;
  virtual CControlCollection& GetControlCollection() = 0;
  virtual void RememberPropertyControl(const std::wstring& property, CControlWindow* control) = 0;
  // The host keeps the control object as long as its window lives.
  virtual CControlWindow* AdoptControl(std::unique_ptr<CControlWindow> control) = 0;
  virtual void MarkCancelControl() = 0;
  // Tells the subscribers of a selection event (SelectionDescription, ...):
  // Text subscribers get `text` unless it is null, Enabled and Visible ones
  // follow `enabled`.
  virtual void PublishAttribute(int event, const std::wstring* text, bool enabled) = 0;
  // The control of this dialog with the WiX id, or null.
  [[nodiscard]] virtual CControlWindow* FindControl(const std::wstring& id) const = 0;
  // Every control bound to a property shows its property again (after a
  // folder control or a spawned dialog changed one).
  virtual void RefreshPropertyControls() = 0;

 protected:
  ~IControlHost() = default;
};

class CControlFactory {
 public:
  explicit CControlFactory(const IWixDataManager* wix) : wix_(wix) {}

  // Every control of the dialog in model order; the count created.
  int CreateDialogControls(const CWixDialog& dialog, IControlHost& host);
  // One control; false (logged) when it has no class or no window.
  bool CreateControl(const CWixControl& control, IControlHost& host);

  // The identifier the next control window takes; unique in the process.
  static int NextControlId();

 private:
  bool CreateControlWindow(std::unique_ptr<CControlWindow> object, DWORD style, DWORD extendedStyle,
                           const wchar_t* className, const CWixControl& control, IControlHost& host);
  void CreateRadioButtons(class CRadioBtnGroup_BT& group, const CWixControl& control, IControlHost& host);
  [[nodiscard]] std::wstring HyperlinkTarget(const CWixControl& control, const ControlContext& context) const;

  const IWixDataManager* wix_;
};

}  // namespace ui
