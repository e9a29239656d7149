#include "ui/events/EventHandler.h"

#include <msi.h>

#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/events/EventDispatcher.h"
#include "ui/host/DynamicDialog.h"
#include "ui/host/WizardController.h"

namespace ui {

CEventHandler::CEventHandler(CWizardController& controller, CEventDispatcher& dispatcher, ISetupConfigData& record)
    : controller_(controller), dispatcher_(dispatcher), record_(record) {
  auto current = [this]() { return controller_.GetCurrentDialog(); };
  handlers_[L"EndDialog"] = [this](const WixPublish& e) { controller_.EndCurrentDialog(e.argument); };
  handlers_[L"NewDialog"] = [this](const WixPublish& e) { OnNewDialog(e.argument); };
  // As Windows Installer's own events: the repair page's choices become the
  // properties the repair run hands to the package (the bundle's property
  // string carries them).
  handlers_[L"Reinstall"] = [this](const WixPublish& e) { SetSessionProperty(L"REINSTALL", e.argument); };
  handlers_[L"ReinstallMode"] = [this](const WixPublish& e) { SetSessionProperty(L"REINSTALLMODE", e.argument); };
  // The installation itself decides about rollback; the wizard only notes that the page asked for it.
  handlers_[L"EnableRollback"] = [](const WixPublish& e) {
    LogDebug(L"EnableRollback %s accepted.", e.argument.c_str());
  };
  // A wait page only matters while its condition holds; the wizard's own pages already show progress.
  handlers_[L"SpawnWaitDialog"] = [](const WixPublish& e) {
    LogDebug(L"SpawnWaitDialog %s is not shown (condition: %s).", e.argument.c_str(), e.condition.c_str());
  };
  handlers_[L"SpawnDialog"] = [this](const WixPublish& e) { (void)controller_.SpawnDialog(e.argument); };
  handlers_[L"SelectionBrowse"] = [this, current](const WixPublish& e) {
    (void)controller_.SpawnDialog(e.argument);
    // The page shows the folder the browse dialog chose.
    if (CDynamicDialog* dialog = current()) dialog->RefreshPropertyControls();
  };
  handlers_[L"SetInstallLevel"] = [this](const WixPublish& e) { OnSetInstallLevel(e.argument); };
  handlers_[L"SetTargetPath"] = [current](const WixPublish& e) {
    if (CDynamicDialog* dialog = current()) dialog->SetTargetPath(e.argument);
  };
  handlers_[L"DirectoryListUp"] = [current](const WixPublish&) {
    if (CDynamicDialog* dialog = current()) dialog->DirectoryListUp();
  };
  handlers_[L"DirectoryListNew"] = [current](const WixPublish&) {
    if (CDynamicDialog* dialog = current()) dialog->DirectoryListNew();
  };
  handlers_[L"Reset"] = [current](const WixPublish&) {
    if (CDynamicDialog* dialog = current()) dialog->ResetProperties();
  };
  handlers_[L"DoAction"] = [this](const WixPublish& e) { (void)dispatcher_.OnDoAction(e.argument); };
  handlers_[L"Remove"] = [this](const WixPublish& e) { OnRemove(e); };
}

bool CEventHandler::Handle(const WixPublish& event) {
  auto found = handlers_.find(event.event);
  if (found == handlers_.end()) {
    LogDebug(L"The control event %s has no handler in the wizard and is ignored.", event.event.c_str());
    return false;
  }
  found->second(event);
  return true;
}

void CEventHandler::SetSessionProperty(const std::wstring& name, const std::wstring& value) {
  if (IMSIManager* msi = dispatcher_.GetMSIManager()) msi->SetProperty(name, value, false);
}

void CEventHandler::OnNewDialog(const std::wstring& name) {
  // The current page must stay when the target does not exist: look it up first.
  if (controller_.HasDialog(name)) {
    controller_.EndCurrentDialog(name);
    (void)controller_.ShowDialog(name);
  } else {
    LogError(L"The dialog %s could not be found in the dialog list", name.c_str());
  }
}

void CEventHandler::OnSetInstallLevel(const std::wstring& argument) {
  IMSIManager* msi = dispatcher_.GetMSIManager();
  if (msi == nullptr) {
    LogDebug(L"OnSetInstallLevel()- Unable to get the MSI manager instance");
    return;
  }
  (void)msi->SetInstallLevel(platform::ToInt(argument));
  dispatcher_.ClearFeatureSelection();
}

void CEventHandler::OnRemove(const WixPublish& event) {
  IMSIManager* msi = dispatcher_.GetMSIManager();
  if (msi == nullptr) {
    LogDebug(L"OnRemove()-Unable to get the MSI manager instance");
    return;
  }
  if (event.condition.empty() || msi->EvaluateCondition(event.condition)) {
    msi->SetFeatureState(event.argument, INSTALLSTATE_ABSENT);
  }
}

}  // namespace ui
