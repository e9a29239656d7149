#include "ui/dialogs/UnavailableSrcDialog.h"

#include "config/ISetupConfigData.h"
#include "engine/SourceFileCheck.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "registry/ArpEntry.h"
#include "wix/WixControl.h"

namespace ui {

std::wstring CUnavailableSrcDialog::AsFolder(const std::wstring& path) {
  std::wstring folder = platform::Trim(path);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

void CUnavailableSrcDialog::SetTargetPath(const std::wstring& property) {
  std::wstring typed;
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetType() == kWixPathEdit) {
      typed = GetWindowTextString(binding.window);
      break;
    }
  }
  const std::wstring folder = AsFolder(typed);
  if (folder.empty() || services_.record == nullptr || services_.dispatcher == nullptr) return;
  ISetupConfigData& record = *services_.record;
  const std::wstring previous = record.GetSourcePath();
  record.SetSourcePath(folder);
  int missing = 0;
  if (CheckSourceFilesPresent(record, missing)) {
    if (IMSIManager* msi = services_.dispatcher->GetMSIManager()) msi->SetProperty(property, folder, false);
    if (CArpEntry().ModifySourcePathRegkey(record) != 1) {
      LogWarning(L"The new source %s could not be kept in the bundle's Add/Remove Programs entry.", folder.c_str());
    }
    services_.dispatcher->SetSourceRetry();
    return;
  }
  // The old source stays the bundle's source; the user may try another folder.
  record.SetSourcePath(previous);
  ResetProperties();
  StopEvents();
  (void)services_.dispatcher->ShowSourceMessageDialog(std::wstring());
}

}  // namespace ui
