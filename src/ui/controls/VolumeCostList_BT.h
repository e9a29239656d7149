#pragma once
// The WiX VolumeCostList and VolumeSelectCombo: per drive its size, free
// space, the space the installation needs there and the difference; the
// drive without enough space is highlighted and scrolled into view.

#include <string>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"
#include "ui/controls/VolumeCostRows.h"

namespace ui {

class CVolumeCostList_BT : public CControlWindow {
 public:
  // The row colour of the drive without enough space (red 255, green 193, blue 207).
  static constexpr COLORREF kInsufficientColour = 13615615;

  CVolumeCostList_BT(const CWixControl* control, const ControlContext& context);
  ~CVolumeCostList_BT() override;

  void OnAttached() override;
  bool OnNotifyMessage(const NMHDR& header, LRESULT& result) override;

  // Reads the drives and costs again and shows them.
  void Fill();
  // Marks the row of the drive ("C:") as the one without enough space.
  void MarkInsufficientDrive(const std::wstring& drive);

  [[nodiscard]] const VolumeRows& GetRows() const { return rows_; }
  [[nodiscard]] int GetInsufficientRow() const { return insufficient_; }

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperVolumeCostList%ld"; }

 private:
  [[nodiscard]] std::wstring Localized(const wchar_t* id, const wchar_t* builtIn) const;
  void ShowInsufficient();

  platform::UniqueHImageList images_;
  int driveImage_ = -1;
  int networkImage_ = -1;
  VolumeRows rows_;
  int insufficient_ = -1;
};

}  // namespace ui
