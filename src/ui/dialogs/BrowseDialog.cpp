#include "ui/dialogs/BrowseDialog.h"

#include "config/ISetupConfigData.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IMSIManager.h"
#include "platform/StringUtil.h"
#include "ui/controls/DirectoryList_BT.h"
#include "ui/controls/PathValidation.h"
#include "wix/IWixDataManager.h"
#include "wix/WixDialog.h"

namespace ui {

namespace {
// CreateDirectory refuses a folder path of 248 characters or more.
constexpr int kSystemFolderLimit = 248;
}  // namespace

CBrowseDialog::CBrowseDialog(const CWixDialog& dialog, const DialogServices& services, int mode)
    : CSpawnDialog(dialog, services, mode) {}

int CBrowseDialog::EffectivePathLimit(int configured) {
  return configured > 0 && configured < kSystemFolderLimit ? configured : kSystemFolderLimit;
}

std::wstring CBrowseDialog::PathLengthMessage(const IWixDataManager* wix, int limit) {
  std::wstring text = wix != nullptr ? wix->GetLocalizedText(L"KV_ErrorPathLength") : std::wstring();
  if (text.empty() || text == L"KV_ErrorPathLength") {
    text = L"The folder path is too long. Choose a folder whose path is shorter than [PathLength] characters.";
  }
  (void)platform::ReplaceAll(text, L"[PathLength]", std::to_wstring(limit));
  return text;
}

void CBrowseDialog::SetTargetPath(const std::wstring& property) {
  CControlWindow* edit = FindControl(L"PathEdit");
  IMSIManager* msi = context_.msi;
  if (edit == nullptr || msi == nullptr || property.empty()) return;
  std::wstring path = GetWindowTextString(edit->GetHwnd());
  if (path.empty()) return;
  if (!platform::EqualsNoCase(property, L"EXEPATHVALUE")) {
    const int configured = services_.record != nullptr ? services_.record->GetPathLength() : 0;
    const int limit = EffectivePathLimit(configured);
    if (static_cast<int>(path.size()) >= limit) {
      LogInformation(L"The folder %s is longer than the bundle allows (%d).", path.c_str(), limit);
      const std::wstring message = PathLengthMessage(services_.wix, limit);
      if (services_.dispatcher != nullptr) (void)services_.dispatcher->ShowSourceMessageDialog(message);
      StopEvents();
      return;
    }
    // The path edit has told the user why when it lost the focus; the
    // folder must not reach the property anyway.
    const PathCheck check = ValidatePath(path, false);
    if (!check.valid) {
      LogInformation(L"The folder %s is refused (%s); the property keeps its value.", path.c_str(),
                     check.messageId.c_str());
      StopEvents();
      return;
    }
    path = check.path;
  }
  if (path.back() != L'\\') path += L'\\';
  msi->SetProperty(property, path, false);
}

CDirectoryListCtrl_BT* CBrowseDialog::DirectoryList() const {
  for (const auto& control : dialog_.GetControls()) {
    if (control->GetType() != kWixDirectoryList) continue;
    if (auto* list = dynamic_cast<CDirectoryListCtrl_BT*>(FindControl(control->GetId()))) return list;
  }
  return nullptr;
}

void CBrowseDialog::DirectoryListUp() {
  if (CDirectoryListCtrl_BT* list = DirectoryList()) list->DirectoryListUp();
}

void CBrowseDialog::DirectoryListNew() {
  if (CDirectoryListCtrl_BT* list = DirectoryList()) list->DirectoryListNew();
}

}  // namespace ui
