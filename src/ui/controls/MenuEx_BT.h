#pragma once
// A pop-up menu whose items are drawn by the program: an icon and a text per
// item, the highlighted item in the selection colours. Its owner window
// passes WM_MEASUREITEM and WM_DRAWITEM of menus to it while it is shown.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/UniqueResource.h"

namespace ui {

class CMenuEx_BT {
 public:
  CMenuEx_BT();
  ~CMenuEx_BT();
  CMenuEx_BT(const CMenuEx_BT&) = delete;
  CMenuEx_BT& operator=(const CMenuEx_BT&) = delete;

  // Adds an item (the icon stays the caller's) or a separator.
  void AddItem(UINT command, const std::wstring& text, HICON icon, bool enabled);
  void AddSeparator();
  // Shows the menu at the screen point and waits for the choice; the
  // command chosen, 0 when none.
  [[nodiscard]] UINT Track(HWND owner, POINT screen);

  bool OnMeasureItem(MEASUREITEMSTRUCT& measure) const;
  bool OnDrawItem(const DRAWITEMSTRUCT& draw) const;

  [[nodiscard]] HMENU GetHandle() const { return menu_; }

 private:
  struct Item {
    UINT command;
    std::wstring text;
    HICON icon;
  };
  HMENU menu_;
  std::vector<Item> items_;
};

}  // namespace ui
