#pragma once
// The folder choice ("BrowseDlg", "BrowseFileDlg"): its directory list takes
// Up and New Folder, and SetTargetPath takes the typed or chosen folder from
// the path edit into the property, refusing a path too long for the bundle.

#include <string>

#include "ui/host/SpawnDialog.h"

namespace ui {

class CDirectoryListCtrl_BT;

class CBrowseDialog : public CSpawnDialog {
 public:
  CBrowseDialog(const CWixDialog& dialog, const DialogServices& services, int mode);

  void SetTargetPath(const std::wstring& property) override;
  void DirectoryListUp() override;
  void DirectoryListNew() override;

  // The message for a path that is too long: the localized
  // "KV_ErrorPathLength" (a built-in sentence when the bundle has none) with
  // "[PathLength]" the limit.
  [[nodiscard]] static std::wstring PathLengthMessage(const IWixDataManager* wix, int limit);
  // The longest path the bundle accepts plus one: the configured PathLength,
  // or, when it is 0 (no limit configured), what Windows can create.
  [[nodiscard]] static int EffectivePathLimit(int configured);

 private:
  [[nodiscard]] CDirectoryListCtrl_BT* DirectoryList() const;
};

}  // namespace ui
