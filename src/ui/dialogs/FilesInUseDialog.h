#pragma once
// The files-in-use question (FilesInUse): the programs that hold files the
// installation must replace, one per line of the dialog's first list box;
// Retry, Ignore and Exit end it with their values (Exit reaches Windows
// Installer as Cancel through the dispatcher).

#include <string>
#include <vector>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CFilesInUseDialog : public CSpawnDialog {
 public:
  CFilesInUseDialog(const CWixDialog& dialog, const DialogServices& services, int mode, std::wstring processList);

  // The list's lines: split at every "," and after each "( name.exe )" entry
  // of the installer's own list, trimmed, empty parts left out; no line at
  // all gives one line with `productName`.
  [[nodiscard]] static std::vector<std::wstring> Lines(const std::wstring& processList,
                                                       const std::wstring& productName);

 protected:
  void OnInitDialog() override;

 private:
  std::wstring processList_;
};

}  // namespace ui
