#include "support/RemoteControls.h"

namespace testsupport {

namespace {

// A block of the other process's memory for one message's structures.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t size) : size_(size) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr) {
      base_ = static_cast<BYTE*>(::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteBlock() {
    if (base_ != nullptr) ::VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_ != nullptr) ::CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  [[nodiscard]] bool IsValid() const { return base_ != nullptr; }
  [[nodiscard]] BYTE* At(size_t offset) const { return base_ + offset; }
  bool Write(size_t offset, const void* data, size_t size) const {
    SIZE_T done = 0;
    return offset + size <= size_ && ::WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
  }
  bool Read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    return offset + size <= size_ && ::ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
  }

 private:
  HANDLE process_ = nullptr;
  BYTE* base_ = nullptr;
  size_t size_;
};

constexpr size_t kTextOffset = 512;
constexpr size_t kTextChars = 512;
constexpr size_t kBlockSize = kTextOffset + kTextChars * sizeof(wchar_t);

std::wstring ReadText(const RemoteBlock& block) {
  wchar_t text[kTextChars] = {};
  if (!block.Read(kTextOffset, text, sizeof(text) - sizeof(wchar_t))) return std::wstring();
  return text;
}

void CollectItems(HWND tree, const RemoteBlock& block, HTREEITEM first, int level,
                  std::vector<TreeItemInfo>& items) {
  for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    TVITEMW query = {};
    query.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    query.hItem = item;
    query.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    query.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
    query.cchTextMax = static_cast<int>(kTextChars);
    TreeItemInfo info;
    info.item = item;
    info.level = level;
    const wchar_t none = 0;
    if (block.Write(0, &query, sizeof(query)) && block.Write(kTextOffset, &none, sizeof(none)) &&
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.At(0))) != 0 &&
        block.Read(0, &query, sizeof(query))) {
      info.text = ReadText(block);
      info.image = query.iImage;
      info.selectedImage = query.iSelectedImage;
      info.expanded = (query.state & TVIS_EXPANDED) != 0;
      info.selected = (query.state & TVIS_SELECTED) != 0;
    }
    items.push_back(info);
    CollectItems(tree, block, TreeView_GetChild(tree, item), level + 1, items);
  }
}

}  // namespace

std::vector<TreeItemInfo> ReadTreeItems(HWND tree) {
  std::vector<TreeItemInfo> items;
  RemoteBlock block(tree, kBlockSize);
  if (!block.IsValid()) return items;
  CollectItems(tree, block, TreeView_GetRoot(tree), 0, items);
  return items;
}

bool TreeItemRect(HWND tree, HTREEITEM item, bool textOnly, RECT& rect) {
  RemoteBlock block(tree, sizeof(RECT));
  // The message takes the item in the rectangle's place.
  if (!block.IsValid() || !block.Write(0, &item, sizeof(item))) return false;
  if (::SendMessageW(tree, TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(block.At(0))) == 0) {
    return false;
  }
  return block.Read(0, &rect, sizeof(rect));
}

bool SelectTreeItem(HWND tree, HTREEITEM item) {
  return ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

std::vector<std::wstring> ReadComboExItems(HWND combo) {
  std::vector<std::wstring> texts;
  RemoteBlock block(combo, kBlockSize);
  if (!block.IsValid()) return texts;
  const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    COMBOBOXEXITEMW query = {};
    query.mask = CBEIF_TEXT;
    query.iItem = index;
    query.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
    query.cchTextMax = static_cast<int>(kTextChars);
    const wchar_t none = 0;
    std::wstring text;
    if (block.Write(0, &query, sizeof(query)) && block.Write(kTextOffset, &none, sizeof(none)) &&
        ::SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.At(0))) != 0) {
      text = ReadText(block);
    }
    texts.push_back(text);
  }
  return texts;
}

std::vector<std::vector<std::wstring>> ReadListViewRows(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  RemoteBlock block(list, kBlockSize);
  if (!block.IsValid()) return rows;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMW query = {};
      query.iSubItem = column;
      query.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
      query.cchTextMax = static_cast<int>(kTextChars);
      const wchar_t none = 0;
      std::wstring text;
      if (block.Write(0, &query, sizeof(query)) && block.Write(kTextOffset, &none, sizeof(none)) &&
          ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0))) >= 0) {
        text = ReadText(block);
      }
      cells.push_back(text);
    }
    rows.push_back(cells);
  }
  return rows;
}

std::vector<std::wstring> ReadListViewColumns(HWND list) {
  std::vector<std::wstring> titles;
  RemoteBlock block(list, kBlockSize);
  if (!block.IsValid()) return titles;
  for (int column = 0; column < 64; ++column) {
    LVCOLUMNW query = {};
    query.mask = LVCF_TEXT;
    query.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
    query.cchTextMax = static_cast<int>(kTextChars);
    const wchar_t none = 0;
    if (!block.Write(0, &query, sizeof(query)) || !block.Write(kTextOffset, &none, sizeof(none)) ||
        ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(block.At(0))) == 0) {
      break;
    }
    titles.push_back(ReadText(block));
  }
  return titles;
}

int ListViewTopIndex(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

bool ListViewRowRect(HWND list, int row, RECT& rect) {
  RemoteBlock block(list, sizeof(RECT));
  RECT query = {};
  query.left = LVIR_BOUNDS;
  if (!block.IsValid() || !block.Write(0, &query, sizeof(query))) return false;
  if (::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0))) == 0) {
    return false;
  }
  return block.Read(0, &rect, sizeof(rect));
}

}  // namespace testsupport
