#include "ui/dialogs/PreInstallConditionEvaluator.h"

#include "config/ILocalizationSetting.h"
#include "config/IPreInstallDialogData.h"
#include "config/IPreInstallDialogList.h"
#include "config/ISetupConfigData.h"
#include "features/PreInstallChecks.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/host/WizardController.h"

namespace ui {

namespace {
constexpr wchar_t kPrepareMsgDlg[] = L"PrepareMsgDlg";
}  // namespace

PreInstallEntry ClassifyPreInstallEntry(const std::wstring& id) {
  struct Entry {
    const wchar_t* id;
    PreInstallEntry kind;
  };
  static const Entry kEntries[] = {{L"CheckProcessDlg", PreInstallEntry::kCheckProcess},
                                   {L"Restart_Dlg", PreInstallEntry::kRestart},
                                   {kPrepareMsgDlg, PreInstallEntry::kPrepareMsg},
                                   {L"Language_Dlg", PreInstallEntry::kLanguage},
                                   {L"PreInstallDlg", PreInstallEntry::kBrand}};
  for (const Entry& entry : kEntries) {
    if (platform::EqualsNoCase(id, entry.id)) return entry.kind;
  }
  return PreInstallEntry::kOther;
}

bool IsPreInstallEntryShown(PreInstallEntry entry, const PreInstallFacts& facts) {
  switch (entry) {
    case PreInstallEntry::kCheckProcess: return facts.processesRunning;
    case PreInstallEntry::kRestart: return facts.restartPending;
    case PreInstallEntry::kPrepareMsg: return facts.installerUpdateNeeded;
    // One language leaves nothing to choose.
    case PreInstallEntry::kLanguage: return facts.conditionTrue && !facts.languageGiven && facts.languageCount > 1;
    case PreInstallEntry::kBrand: return facts.conditionTrue && !facts.brandGiven;
    case PreInstallEntry::kOther: return facts.conditionTrue;
  }
  return false;
}

CPreInstallConditionEvaluator::CPreInstallConditionEvaluator(ISetupConfigData& record, CWizardController& wizard,
                                                             IMSIManager* msiManager, Options options)
    : record_(record), wizard_(wizard), msiManager_(msiManager), options_(std::move(options)) {}

bool CPreInstallConditionEvaluator::Run() {
  if (msiManager_ == nullptr) {
    LogError(L"Unable to get the instance of MSI manager");
    return false;
  }
  IPreInstallDialogList* dialogs = record_.GetPreInstallDialogList();
  if (dialogs != nullptr) {
    if (IPreInstallDialogData* prepare = dialogs->FindDialog(kPrepareMsgDlg)) {
      if (!PrepareAndShow(*prepare)) {
        LogError(L"Showing PrepareToInstall dialog failed.");
        return false;
      }
      (void)dialogs->RemoveDialog(kPrepareMsgDlg);
    }
  }
  if (!msiManager_->RunActionInWixSourcePackage(L"PreInstallDialogAction")) return false;

  bool ok = true;
  if (dialogs != nullptr) {
    dialogs->ResetIteration();
    while (IPreInstallDialogData* entry = dialogs->GetNextDialog()) {
      if (!PrepareAndShow(*entry)) {
        ok = false;
        break;
      }
    }
  }
  msiManager_->CloseHandlesUnlessKept();
  return ok;
}

bool CPreInstallConditionEvaluator::IsToBeShown(IPreInstallDialogData& entry) {
  const PreInstallEntry kind = ClassifyPreInstallEntry(entry.GetId());
  PreInstallFacts facts;
  switch (kind) {
    case PreInstallEntry::kCheckProcess:
      facts.processesRunning = CPreInstallChecks::IsCheckProcessDlgToBeShown(record_, msiManager_, entry.GetCondition());
      break;
    case PreInstallEntry::kRestart: facts.restartPending = CPreInstallChecks::IsRestartDlgToBeShown(record_); break;
    case PreInstallEntry::kPrepareMsg:
      facts.installerUpdateNeeded = CPreInstallChecks::IsPrepareMsgDlgToBeShown(record_);
      break;
    case PreInstallEntry::kLanguage:
      facts.conditionTrue = msiManager_->EvaluateCondition(entry.GetCondition());
      facts.languageGiven = options_.isLanguageGiven && options_.isLanguageGiven();
      if (ILocalizationSetting* languages = record_.GetLocalizationSettings()) facts.languageCount = languages->GetCount();
      break;
    case PreInstallEntry::kBrand:
      facts.conditionTrue = msiManager_->EvaluateCondition(entry.GetCondition());
      facts.brandGiven = options_.isBrandGiven && options_.isBrandGiven();
      break;
    case PreInstallEntry::kOther:
      facts.conditionTrue = msiManager_->EvaluateCondition(entry.GetCondition());
      break;
  }
  const bool shown = IsPreInstallEntryShown(kind, facts);
  if (kind == PreInstallEntry::kBrand && !shown && facts.brandGiven) {
    LogInformation(L"Brand Dialog is hidden as Brand is set via command Line.");
  }
  return shown;
}

bool CPreInstallConditionEvaluator::PrepareAndShow(IPreInstallDialogData& entry) {
  if (!IsToBeShown(entry)) return true;
  const std::wstring source = entry.GetWixPath();
  if (readSources_.count(platform::ToLower(source)) == 0) {
    if (!options_.parseWixFile || !options_.parseWixFile(source)) {
      LogError(L"The WiX source %s of the pre-install dialog %s could not be read.", source.c_str(),
               entry.GetId().c_str());
      return false;
    }
    readSources_.insert(platform::ToLower(source));
  }
  const LANGID languageBefore = record_.GetLanguageId();
  const bool stayed = wizard_.ShowPreInstallDialog(entry.GetId(), wizard_.GetInvisibleWindow());
  if (record_.GetLanguageId() != languageBefore) ApplyLanguageChange();
  return stayed;
}

void CPreInstallConditionEvaluator::ApplyLanguageChange() {
  LogInformation(L"The language is reset by the user to %d.", static_cast<int>(record_.GetLanguageId()));
  if (!options_.reParseLocalization || !options_.reParseLocalization(record_.GetLanguageId())) {
    LogError(L"Error in reparsing the localization files !!");
  }
  // Dialogs read so far carry the old texts: the rest are read again.
  if (options_.clearWixModel) options_.clearWixModel();
  readSources_.clear();
}

}  // namespace ui
