#pragma once
// Base of every dialog made from a WiX dialog: it builds an in-memory
// template, creates the WiX controls in its initialisation, routes their
// commands to the control events and paints in the bundle's style. Its two
// families are the page inside the main frame (CMSIDialog) and the modal
// pop-up (CSpawnDialog).

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlFactory.h"
#include "ui/events/ControlConditionEvaluator.h"
#include "ui/events/SubscriberRegistry.h"
#include "ui/host/DialogWindow.h"
#include "ui/host/DlgTemplateBuilder.h"

class CWixDialog;
class IEventDispatcher;
class IMaindialogConfigData;
class ISetupConfigData;
class IStyleConfigData;
class IWixDataManager;

namespace ui {

class CWizardController;

// What every wizard dialog is made with; none of it owned.
struct DialogServices {
  CWizardController* controller = nullptr;
  IEventDispatcher* dispatcher = nullptr;
  ISetupConfigData* record = nullptr;
  IStyleConfigData* style = nullptr;
  IMaindialogConfigData* mainConfig = nullptr;
  const IWixDataManager* wix = nullptr;
};

class CDynamicDialog : public CDialogWindow, public IControlHost {
 public:
  CDynamicDialog(const CWixDialog& dialog, const DialogServices& services, int mode);
  ~CDynamicDialog() override;

  // Shows the dialog: a modal loop for pop-ups (its end value), or a page
  // that lives on after the call (1, or 0 when it could not be created).
  virtual INT_PTR Run(HWND parent) = 0;

  // The dialog's own behaviour, overridden by the standard dialogs.
  virtual void OnEndDialogEvent(int value);
  virtual void SetTargetPath(const std::wstring&) {}
  virtual void ResetProperties();
  virtual void DirectoryListUp() {}
  virtual void DirectoryListNew() {}

  [[nodiscard]] const CWixDialog& GetWixDialog() const { return dialog_; }
  [[nodiscard]] int GetMode() const { return mode_; }
  [[nodiscard]] CSubscriberRegistry& GetSubscriberRegistry() { return subscribers_; }
  [[nodiscard]] bool HasCancelControl() const { return hasCancelControl_; }
  // A rejected folder stops the rest of the click's events.
  void StopEvents() { eventsStopped_ = true; }
  [[nodiscard]] bool IsEventStopped() const { return eventsStopped_; }

  // IControlHost
  [[nodiscard]] HWND GetHwnd() const override { return CDialogWindow::GetHwnd(); }
  [[nodiscard]] RECT AdjustControlRect(const RECT& rect) const override { return rect; }
  [[nodiscard]] HFONT GetDialogFont() const override { return dialogFont_; }
  [[nodiscard]] const ControlContext& GetControlContext() const override { return context_; }
  void AddSubscriber(int event, int attribute, HWND window) override;
  void RegisterConditions(HWND window, const std::vector<WixCondition>& conditions) override;
  CControlCollection& GetControlCollection() override { return collection_; }
  void RememberPropertyControl(const std::wstring& property, CControlWindow* control) override;
  CControlWindow* AdoptControl(std::unique_ptr<CControlWindow> control) override;
  void MarkCancelControl() override { hasCancelControl_ = true; }
  void PublishAttribute(int event, const std::wstring* text, bool enabled) override;
  [[nodiscard]] CControlWindow* FindControl(const std::wstring& id) const override;
  void RefreshPropertyControls() override;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  virtual void OnInitDialog();
  // Escape, the close box or IDCANCEL.
  virtual void OnCancel() { OnEndDialogEvent(15); }
  virtual void DrawFrame(HDC) {}
  virtual void OnPaint(HDC dc, const RECT& client);
  // Builds the template of this dialog's kind into `builder_`.
  void BuildTemplate(DWORD style, DWORD extendedStyle, const RECT& rect, const std::wstring& title);
  void OnCommand(WPARAM wParam, LPARAM lParam);

  const CWixDialog& dialog_;
  DialogServices services_;
  int mode_;
  COLORREF background_ = RGB(255, 255, 255);
  platform::UniqueHBrush backgroundBrush_;
  HFONT dialogFont_ = nullptr;
  int titleBarHeight_ = 0;
  ControlContext context_;
  CDlgTemplateBuilder builder_;

 private:
  CControlCollection collection_;
  CControlConditionEvaluator conditions_;
  CSubscriberRegistry subscribers_;
  std::vector<std::unique_ptr<CControlWindow>> controls_;
  struct PropertyControl {
    std::wstring property;
    CControlWindow* control;
    std::wstring initialValue;  // what Reset restores
  };
  std::vector<PropertyControl> propertyControls_;
  bool hasCancelControl_ = false;
  bool eventsStopped_ = false;
  ATOM nameAtom_ = 0;
};

}  // namespace ui
