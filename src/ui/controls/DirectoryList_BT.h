#pragma once
// The WiX DirectoryList: the sub-folders of the folder in its (indirect)
// property, with the folders made with New Folder that do not exist yet
// ("virtual" folders: Windows Installer creates them when it installs).
// Up, New Folder and a double-click change the folder and write it to the
// property.

#include <set>
#include <string>
#include <vector>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"

namespace ui {

class IControlHost;

class CDirectoryListCtrl_BT : public CControlWindow, public IPropertyControl {
 public:
  CDirectoryListCtrl_BT(const CWixControl* control, const ControlContext& context, IControlHost& host);
  ~CDirectoryListCtrl_BT() override;

  void OnAttached() override;
  bool OnNotifyMessage(const NMHDR& header, LRESULT& result) override;
  void SetDisplayText(const std::wstring&) override {}
  void RefreshFromProperty() override;

  // The parent of the current folder becomes current (not above the root).
  void DirectoryListUp();
  // Adds a virtual "New Folder" and starts editing its name.
  void DirectoryListNew();
  // Makes the sub-folder current.
  void Open(const std::wstring& name);

  [[nodiscard]] const std::wstring& GetCurrentFolder() const { return current_; }
  [[nodiscard]] std::vector<std::wstring> GetShownNames() const;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperDirectoryList%ld"; }

 private:
  void Fill();
  void ChangeFolder(const std::wstring& folder);
  bool EndLabelEdit(int item, const wchar_t* text);
  [[nodiscard]] std::wstring ItemText(int item) const;
  [[nodiscard]] std::wstring UniqueNewName() const;

  IControlHost& host_;
  platform::UniqueHImageList images_;
  std::wstring current_;                       // with a trailing backslash
  std::set<std::wstring> virtualFolders_;      // full paths, trailing backslash
  int folderImage_ = -1;
  int virtualImage_ = -1;
};

}  // namespace ui
