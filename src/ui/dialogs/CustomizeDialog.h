#pragma once
// The feature selection page (any dialog whose name holds "CustomizeDlg"):
// a page that knows the controls showing the selected feature's folder, so
// they can follow the tree and a folder chosen with Browse.

#include "ui/host/MSIDialog.h"

namespace ui {

class CCustomizeDialog : public CMSIDialog {
 public:
  // The tree's event that tells whether the selected feature has a folder.
  static constexpr int kSelectionPathEnabledEvent = 16;

  CCustomizeDialog(const CWixDialog& dialog, const DialogServices& services);

  [[nodiscard]] HWND GetBrowseButton() const { return browse_; }
  [[nodiscard]] HWND GetLocation() const { return location_; }
  [[nodiscard]] HWND GetLocationLabel() const { return locationLabel_; }

 protected:
  void OnInitDialog() override;

 private:
  HWND browse_ = nullptr;
  HWND location_ = nullptr;
  HWND locationLabel_ = nullptr;
};

}  // namespace ui
