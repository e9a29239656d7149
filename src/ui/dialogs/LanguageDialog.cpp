#include "ui/dialogs/LanguageDialog.h"

#include "config/ILocalizationSetting.h"
#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/host/WizardController.h"
#include "wix/WixControl.h"

namespace ui {

const CControlBinding* CLanguageDialog::FindCombo() {
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control != nullptr && binding.control->GetType() == kWixComboBox) return &binding;
  }
  return nullptr;
}

void CLanguageDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  const CControlBinding* combo = FindCombo();
  if (combo == nullptr) {
    LogDebug(L"Unable to get the combo box control in language dialog");
    return;
  }
  ILocalizationSetting* languages = services_.record != nullptr ? services_.record->GetLocalizationSettings() : nullptr;
  if (languages == nullptr) {
    LogDebug(L"Unable to get the ILocalizationSetting object");
    return;
  }
  // The languages replace whatever items the WiX source lists.
  ::SendMessageW(combo->window, CB_RESETCONTENT, 0, 0);
  const LANGID current = services_.record->GetLanguageId();
  for (int i = 0; i < languages->GetCount(); ++i) {
    ILocalizationSettingData* language = languages->GetLanguageSettingAt(i);
    if (language == nullptr) continue;
    const std::wstring name = language->GetName();
    const LRESULT index = ::SendMessageW(combo->window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (index < 0) {
      LogDebug(L"Population of Language Combo failed...");
      continue;
    }
    ::SendMessageW(combo->window, CB_SETITEMDATA, static_cast<WPARAM>(index), language->GetLanguageId());
    if (language->GetLanguageId() == current) ::SendMessageW(combo->window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  if (::SendMessageW(combo->window, CB_GETCOUNT, 0, 0) <= 0) {
    LogDebug(L"No items are available for the control, %s.", combo->control->GetId().c_str());
  }
}

void CLanguageDialog::OnEndDialogEvent(int value) {
  if (value != kEndReturn) {
    CSpawnDialog::OnEndDialogEvent(value);
    return;
  }
  const CControlBinding* combo = FindCombo();
  if (combo != nullptr && services_.record != nullptr) {
    const LRESULT index = ::SendMessageW(combo->window, CB_GETCURSEL, 0, 0);
    if (index >= 0) {
      const auto chosen = static_cast<LANGID>(::SendMessageW(combo->window, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
      if (chosen != services_.record->GetLanguageId()) {
        LogDebug(L"The user has changed the default language");
        services_.record->SetLanguageId(chosen);
      }
      if (combo->msi != nullptr && !combo->control->GetProperty().empty()) {
        combo->msi->SetProperty(combo->control->GetProperty(), platform::Format(L"%d", static_cast<int>(chosen)), false);
      }
    }
  }
  CSpawnDialog::OnEndDialogEvent(1);
}

}  // namespace ui
