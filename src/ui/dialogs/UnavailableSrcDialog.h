#pragma once
// The question for a new source when a repair or change cannot find the
// bundle's files (UnavailableSourceDlg): SetTargetPath takes the folder from
// the dialog's path edit and accepts it only when every product that will run
// is found there; then the property gets it, the bundle's Add/Remove Programs
// entry remembers it and the run may start. Otherwise the dialog says so and
// stays.

#include <string>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CUnavailableSrcDialog : public CSpawnDialog {
 public:
  using CSpawnDialog::CSpawnDialog;

  void SetTargetPath(const std::wstring& property) override;

  // The folder as the source path: with one trailing backslash.
  [[nodiscard]] static std::wstring AsFolder(const std::wstring& path);
};

}  // namespace ui
