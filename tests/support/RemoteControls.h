#pragma once
// Reads the common controls of another process (tree view, list view and
// its header) whose messages carry pointers: the structures are placed in
// the other process's memory, the message is sent there and the answer read
// back. Message boxes, buttons and edits need none of this (WindowDriver).

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace testsupport {

struct TreeItemInfo {
  HTREEITEM item = nullptr;
  std::wstring text;
  int image = -1;
  int selectedImage = -1;
  int level = 0;  // 0 for the top level
  bool expanded = false;
  bool selected = false;
};

// Every item of the tree, parents before children (collapsed branches too).
std::vector<TreeItemInfo> ReadTreeItems(HWND tree);
// The item's rectangle in the tree's client co-ordinates (the label only
// when `textOnly`); false when the item is not shown.
bool TreeItemRect(HWND tree, HTREEITEM item, bool textOnly, RECT& rect);
// Selects the item as a click on its label would.
bool SelectTreeItem(HWND tree, HTREEITEM item);

// The texts of an extended combo box's entries, in order.
std::vector<std::wstring> ReadComboExItems(HWND combo);

// The texts of a list view: rows of cells, `columns` cells each.
std::vector<std::vector<std::wstring>> ReadListViewRows(HWND list, int columns);
// The titles of a list view's columns.
std::vector<std::wstring> ReadListViewColumns(HWND list);
// The index of the row at the top of the visible part.
int ListViewTopIndex(HWND list);
// The rectangle of a row in the list's client co-ordinates.
bool ListViewRowRect(HWND list, int row, RECT& rect);

}  // namespace testsupport
