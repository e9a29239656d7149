#pragma once
// The WiX DirectoryCombo: the drives the control asks for (by its volume
// attributes, plus the drive of the current folder) and the folders from the
// current folder's root down to it, each indented one more level. Choosing
// an entry writes its path to the (indirect) property.

#include <string>
#include <vector>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"
#include "ui/controls/IPropertyControl.h"

namespace ui {

class IControlHost;

class CDirectoryCombo_BT : public CControlWindow, public IPropertyControl {
 public:
  CDirectoryCombo_BT(const CWixControl* control, const ControlContext& context, IControlHost& host);
  ~CDirectoryCombo_BT() override;

  void OnAttached() override;
  void OnNotify(WORD code) override;
  void SetDisplayText(const std::wstring&) override {}
  void RefreshFromProperty() override;

  // The paths of the entries, in order.
  [[nodiscard]] const std::vector<std::wstring>& GetPaths() const { return paths_; }

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperDirectoryCombo%ld"; }

 private:
  void Fill(const std::wstring& folder);
  void AdjustDropWidth();
  int Image(const wchar_t* id, int fallback);

  IControlHost& host_;
  platform::UniqueHImageList images_;
  std::vector<std::wstring> paths_;
  std::wstring shown_;
};

}  // namespace ui
