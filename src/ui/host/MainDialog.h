#pragma once
// The main wizard frame: a drawn title bar with the product's name, icon and
// close button, the brand's banner and left image, and the area in which the
// wizard's pages follow each other. Its first paint starts the main package's
// initializer, which shows the first page.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/UniqueResource.h"
#include "ui/host/DialogWindow.h"
#include "ui/host/DynamicDialog.h"

class CBillboardManager;
class ISetupManager;

namespace ui {

class CBitmap_BT;
class CBitmapButton_BT;
class CCustomBanner_BT;
class CIcon_BT;

class CMainDialog : public CDialogWindow {
 public:
  CMainDialog(CWizardController& controller, const DialogServices& services);
  ~CMainDialog() override;

  // Runs the frame modally over `parent`; 3 without a product name.
  [[nodiscard]] INT_PTR DoModal(HWND parent);
  void EndModal(int value);
  // The progress page (and the billboard area) for the run.
  [[nodiscard]] bool CreateProgressArea();
  // The run's billboard; null before the first run.
  [[nodiscard]] CBillboardManager* GetBillboardManager() const { return billboard_.get(); }
  // The run's page has given way to another: the billboard steps aside.
  void HideBillboard();
  [[nodiscard]] const std::wstring& GetTitle() const { return title_; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void OnInitDialog();
  void OnPaint();
  void CreateTitleBarControls();
  void DrawFrame();
  void ForwardCommand(WPARAM wParam);
  [[nodiscard]] bool IsCloseEnabled() const;

  CWizardController& controller_;
  DialogServices services_;
  std::wstring productName_;
  std::wstring title_;
  int titleBarHeight_ = 0;
  COLORREF titleBarColour_ = 0;
  COLORREF frameColour_ = 0;
  COLORREF background_ = RGB(255, 255, 255);
  platform::UniqueHBrush backgroundBrush_;
  ControlContext context_;
  CDlgTemplateBuilder builder_;
  std::unique_ptr<CCustomBanner_BT> banner_;
  std::unique_ptr<CBitmap_BT> leftImage_;
  std::unique_ptr<CBitmapButton_BT> closeButton_;
  std::unique_ptr<CIcon_BT> titleIcon_;
  platform::UniqueHBitmap closeImage_;
  std::unique_ptr<CBillboardManager> billboard_;
  bool firstPaint_ = true;
};

}  // namespace ui
