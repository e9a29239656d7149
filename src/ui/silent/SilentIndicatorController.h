#pragma once
// The silent run's indicator, tray icon and finish window, shown only when
// SilentConfig.xml asks for the indicator: the product name and the share of
// products done, then success, failure or a needed restart.

#include <memory>
#include <string>

#include "ui/silent/ISilentIndicatorController.h"

class ISetupConfigData;
class ISilentConfigData;

namespace ui {

class CSilentIndicatorDlg;
class CSystemTrayIconDlg;

class CSilentIndicatorController final : public ISilentIndicatorController {
 public:
  CSilentIndicatorController(const ISilentConfigData& silentConfig, ISetupConfigData& record);
  ~CSilentIndicatorController();
  CSilentIndicatorController(const CSilentIndicatorController&) = delete;
  CSilentIndicatorController& operator=(const CSilentIndicatorController&) = delete;

  void Start() override;
  void OnProductFinished() override;
  void OnRollbackStarted() override;
  void OnRollbackGroup() override {}
  void ShowProgress(int percent) override;
  [[nodiscard]] int Finish(int state) override;
  void RemoveTrayIcon() override;

  // The texts, by the record's execution type, localized when the WiX string
  // table has the id, else built in; "[1]" is the product name.
  [[nodiscard]] std::wstring ProgressText(int percent) const;
  [[nodiscard]] std::wstring ResultText(bool success) const;

 private:
  [[nodiscard]] bool IsShown() const;
  [[nodiscard]] std::wstring Text(const wchar_t* id, const wchar_t* builtIn) const;
  [[nodiscard]] std::wstring ProductName() const;
  [[nodiscard]] std::wstring LogPath() const;

  const ISilentConfigData& silentConfig_;
  ISetupConfigData& record_;
  std::unique_ptr<CSystemTrayIconDlg> tray_;
  std::unique_ptr<CSilentIndicatorDlg> indicator_;
  int step_ = 0;
  int position_ = 1;
  bool rollingBack_ = false;
  bool started_ = false;
};

}  // namespace ui
