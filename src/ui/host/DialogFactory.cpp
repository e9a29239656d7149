#include "ui/host/DialogFactory.h"

#include "ui/dialogs/BrandDialog.h"
#include "ui/dialogs/BrowseDialog.h"
#include "ui/dialogs/CheckProcessDlg.h"
#include "ui/dialogs/CustomizeDialog.h"
#include "ui/dialogs/ErrorDialog.h"
#include "ui/dialogs/FilesInUseDialog.h"
#include "ui/dialogs/GeneralMsgDialog.h"
#include "ui/dialogs/LanguageDialog.h"
#include "ui/dialogs/MaintenanceTypeDlg.h"
#include "ui/dialogs/OutOfDiskDialog.h"
#include "ui/dialogs/PrepareDialog.h"
#include "ui/dialogs/PrepareToInstallDialog.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/dialogs/RestartDialog.h"
#include "ui/dialogs/UnavailableSrcDialog.h"
#include "ui/host/MSIDialog.h"
#include "ui/host/SpawnDialog.h"
#include "ui/host/WizardController.h"
#include "wix/IWixDataManager.h"

namespace ui {

KnownDialog ClassifyDialogName(const std::wstring& name) {
  struct Entry {
    const wchar_t* name;
    KnownDialog kind;
  };
  static const Entry kExact[] = {
      {L"CheckProcessDlg", KnownDialog::kCheckProcess},
      {L"Language_Dlg", KnownDialog::kLanguage},
      {L"PreInstallDlg", KnownDialog::kBrand},
      {L"PrepareMsgDlg", KnownDialog::kPrepareToInstall},
      {L"ErrorDlg", KnownDialog::kError},
      {L"ProgressDlg", KnownDialog::kProgress},
      {L"PrepareDlg", KnownDialog::kPrepare},
      {L"Restart_Main_Dlg", KnownDialog::kRestart},
      {L"Restart_Intermediate_Dlg", KnownDialog::kRestart},
      {L"UnavailableSourceDlg", KnownDialog::kUnavailableSource},
      {L"FilesInUse", KnownDialog::kFilesInUse},
      {L"MessageBox_Src_Dlg", KnownDialog::kGeneralMessage},
      {L"BrowseDlg", KnownDialog::kBrowse},
      {L"BrowseFileDlg", KnownDialog::kBrowse},
      {L"OutOfDiskDlg", KnownDialog::kOutOfDisk},
      {L"MaintenanceTypeDlg", KnownDialog::kMaintenanceType},
      {L"MaintenanceTypeNoModifyDlg", KnownDialog::kMaintenanceType},
  };
  for (const Entry& entry : kExact) {
    if (name == entry.name) return entry.kind;
  }
  if (name.find(L"CustomizeDlg") != std::wstring::npos) return KnownDialog::kCustomize;
  return KnownDialog::kNone;
}

UINT FallbackMessageBoxStyle(const std::wstring& name, UINT requested) {
  switch (ClassifyDialogName(name)) {
    case KnownDialog::kError: return requested;
    // Retry, Ignore and Exit of the files-in-use question; Abort stands for Exit.
    case KnownDialog::kFilesInUse: return MB_ABORTRETRYIGNORE | MB_ICONWARNING;
    case KnownDialog::kGeneralMessage: return MB_OK | MB_ICONINFORMATION;
    default: return 0;
  }
}

std::unique_ptr<CDynamicDialog> CreateWizardDialog(const std::wstring& name, const DialogServices& services, int mode,
                                                   const DialogMessage& message) {
  const CWixDialog* dialog = services.wix != nullptr ? services.wix->GetDialog(name) : nullptr;
  if (dialog == nullptr) return nullptr;
  switch (ClassifyDialogName(name)) {
    case KnownDialog::kError:
      if (mode != kShowInFrame) return std::make_unique<CErrorDialog>(*dialog, services, mode, message.text, message.style);
      break;
    case KnownDialog::kFilesInUse:
      if (mode != kShowInFrame) return std::make_unique<CFilesInUseDialog>(*dialog, services, mode, message.text);
      break;
    case KnownDialog::kGeneralMessage:
      if (mode != kShowInFrame) return std::make_unique<CGeneralMsgDialog>(*dialog, services, mode, message.text);
      break;
    case KnownDialog::kUnavailableSource:
      if (mode != kShowInFrame) return std::make_unique<CUnavailableSrcDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kPrepare:
      if (mode == kShowInFrame) return std::make_unique<CPrepareDialog>(*dialog, services);
      break;
    case KnownDialog::kMaintenanceType:
      if (mode == kShowInFrame) return std::make_unique<CMaintenanceTypeDlg>(*dialog, services);
      break;
    case KnownDialog::kProgress:
      if (mode == kShowInFrame) return std::make_unique<CProgressDialog>(*dialog, services);
      break;
    case KnownDialog::kRestart:
      if (mode != kShowInFrame) return std::make_unique<CRestartDialog>(*dialog, services, mode, message.onRestart);
      break;
    case KnownDialog::kBrand:
      if (mode != kShowInFrame) return std::make_unique<CBrandDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kLanguage:
      if (mode != kShowInFrame) return std::make_unique<CLanguageDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kCheckProcess:
      if (mode != kShowInFrame) return std::make_unique<CCheckProcessDlg>(*dialog, services, mode);
      break;
    case KnownDialog::kPrepareToInstall:
      if (mode != kShowInFrame) return std::make_unique<CPrepareToInstallDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kBrowse:
      if (mode != kShowInFrame) return std::make_unique<CBrowseDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kOutOfDisk:
      if (mode != kShowInFrame) return std::make_unique<COutOfDiskDialog>(*dialog, services, mode);
      break;
    case KnownDialog::kCustomize:
      if (mode == kShowInFrame) return std::make_unique<CCustomizeDialog>(*dialog, services);
      break;
    default:
      // The other known names behave as pages or pop-ups until their own
      // behaviour (feature tree, folders, restart, ...) is built.
      break;
  }
  if (mode == kShowInFrame) return std::make_unique<CMSIDialog>(*dialog, services);
  return std::make_unique<CSpawnDialog>(*dialog, services, mode);
}

}  // namespace ui
