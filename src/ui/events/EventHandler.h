#pragma once
// The Windows Installer control events the wizard carries out itself, by
// name: NewDialog, SpawnDialog, EndDialog, DoAction, SetInstallLevel, ...

#include <functional>
#include <map>
#include <string>

#include "wix/WixControl.h"

class ISetupConfigData;

namespace ui {

class CEventDispatcher;
class CWizardController;

class CEventHandler {
 public:
  CEventHandler(CWizardController& controller, CEventDispatcher& dispatcher, ISetupConfigData& record);

  // Runs the handler of the event's name; false for a name without one.
  bool Handle(const WixPublish& event);
  [[nodiscard]] bool HasHandler(const std::wstring& name) const { return handlers_.count(name) != 0; }

 private:
  using Handler = std::function<void(const WixPublish& event)>;
  void SetSessionProperty(const std::wstring& name, const std::wstring& value);
  void OnNewDialog(const std::wstring& name);
  void OnSetInstallLevel(const std::wstring& argument);
  void OnRemove(const WixPublish& event);

  CWizardController& controller_;
  CEventDispatcher& dispatcher_;
  ISetupConfigData& record_;
  std::map<std::wstring, Handler> handlers_;
};

}  // namespace ui
