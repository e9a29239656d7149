#pragma once
// The billboard's list of product groups: one line per group with an icon
// that tells how far the group has come (waiting, running, done, failed,
// finished with warnings or with notes). The package may bring its own
// icons; those it lacks are drawn here.

#include <string>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"

namespace ui {

enum BillboardItemState : int {
  kBillboardWillBeInstalled = 0,
  kBillboardBeingInstalled = 1,
  kBillboardWasInstalled = 2,
  kBillboardFailed = 3,
  kBillboardWarning = 4,
  kBillboardInformation = 5,
};
constexpr int kBillboardStateCount = 6;

class CBillboardListBox_BT : public CControlWindow {
 public:
  CBillboardListBox_BT(const ControlContext& context, COLORREF textColour);

  // Window style of the list: owner-drawn lines that keep their texts.
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED |
                                  LBS_HASSTRINGS | LBS_NOSEL;

  // The package's image name of a state ("WillBeInstalled", ...).
  [[nodiscard]] static const wchar_t* StateImageName(int state);
  // Builds the six state icons; call once the window exists.
  void LoadStateImages();
  // The index of the new line, or -1.
  int AddItem(const std::wstring& text, int state);
  void SetItemState(int index, int state);
  [[nodiscard]] int GetItemState(int index) const;
  void Clear();

  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"ExecutionBillboard"; }

 private:
  platform::UniqueHImageList images_;
  int imageIndex_[kBillboardStateCount] = {-1, -1, -1, -1, -1, -1};
  COLORREF text_;
};

}  // namespace ui
