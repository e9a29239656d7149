#include "ui/dialogs/FilesInUseDialog.h"

#include <cwchar>

#include "config/ISetupConfigData.h"
#include "platform/StringUtil.h"
#include "wix/WixControl.h"

namespace ui {

namespace {
// How the record handler ends each program of its list ("Title  ( app.exe ) ").
constexpr wchar_t kEntryEnd[] = L".exe ) ";
}  // namespace

CFilesInUseDialog::CFilesInUseDialog(const CWixDialog& dialog, const DialogServices& services, int mode,
                                     std::wstring processList)
    : CSpawnDialog(dialog, services, mode), processList_(std::move(processList)) {}

std::vector<std::wstring> CFilesInUseDialog::Lines(const std::wstring& processList, const std::wstring& productName) {
  std::vector<std::wstring> lines;
  for (const std::wstring& part : platform::Split(processList, L",")) {
    size_t start = 0;
    while (start < part.size()) {
      const size_t end = part.find(kEntryEnd, start);
      const size_t next = end == std::wstring::npos ? part.size() : end + wcslen(kEntryEnd) - 1;
      const std::wstring line = platform::Trim(part.substr(start, next - start));
      if (!line.empty()) lines.push_back(line);
      start = next;
    }
  }
  if (lines.empty()) lines.push_back(productName);
  return lines;
}

void CFilesInUseDialog::OnInitDialog() {
  CSpawnDialog::OnInitDialog();
  const std::wstring product = services_.record != nullptr ? services_.record->GetProductName() : std::wstring();
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetType() != kWixListBox) continue;
    ::SendMessageW(binding.window, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& line : Lines(processList_, product)) {
      ::SendMessageW(binding.window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    break;  // the first list box only
  }
}

}  // namespace ui
