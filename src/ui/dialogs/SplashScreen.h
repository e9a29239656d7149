#pragma once
// The bundle's splash screen while a first installation is prepared: the
// selected brand's splash image, shaped to its non-magenta pixels, with the
// product name over it. The preparation runs on a worker thread; the splash
// stays at least 5 seconds and until that work is done, shows the wait
// cursor and cannot be closed by keys or its Close item meanwhile.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/UniqueResource.h"
#include "ui/host/DialogWindow.h"

class ISetupConfigData;
class IStyleConfigData;

namespace ui {

class CSplashScreen : public CDialogWindow {
 public:
  // The resource dialog of the splash screen.
  static constexpr int kDialogResourceId = 130;
  // Message the worker posts when the work is done.
  static constexpr UINT kWorkDoneMessage = WM_USER + 1;
  static constexpr UINT kMinimumShowMs = 5000;

  // `work` gets 0 and returns the work's result; it runs on the splash's own
  // thread, which has COM initialised.
  CSplashScreen(ISetupConfigData& record, std::function<int(int)> work, IStyleConfigData* style, HWND parent);
  ~CSplashScreen() override;

  // Shows the splash until the work is done and the minimum time is over;
  // IDOK then. Without the dialog resource the work runs here, unseen.
  INT_PTR DoModal();
  [[nodiscard]] int GetResult() const { return result_; }

  // True when the selected brand configures a splash image (a bundle without
  // one shows no splash screen).
  [[nodiscard]] static bool IsConfigured(ISetupConfigData& record);

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void OnInitDialog();
  void ShapeToBitmap();
  void TryClose();
  void Paint();
  void RunWork();

  ISetupConfigData& record_;
  std::function<int(int)> work_;
  IStyleConfigData* style_;
  HWND parent_;
  std::atomic<int> result_{0};
  HICON icon_ = nullptr;  // the record's; not owned
  platform::UniqueHBitmap ownBitmap_;
  HBITMAP bitmap_ = nullptr;
  std::wstring text_;
  HCURSOR waitCursor_ = nullptr;
  std::thread worker_;
  std::atomic<bool> workDone_{false};
  bool minimumTimeOver_ = false;
  bool busy_ = false;
};

}  // namespace ui
