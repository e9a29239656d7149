#include "ui/controls/DirectoryCombo_BT.h"

#include <commctrl.h>

#include "log/Log.h"
#include "ui/controls/ControlFactory.h"
#include "ui/controls/DefaultIcons.h"
#include "ui/controls/DriveFilter.h"
#include "ui/controls/PathValidation.h"

namespace ui {

namespace {

enum ImageSlot { kDrive, kNetwork, kRemovable, kCd, kFolder, kVirtual, kSlotCount };
// An image (16) and its gap: what one indent level and the image take.
constexpr int kIndentWidth = 20;

std::wstring WithBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace

CDirectoryCombo_BT::CDirectoryCombo_BT(const CWixControl* control, const ControlContext& context, IControlHost& host)
    : CControlWindow(control, context), host_(host) {}

CDirectoryCombo_BT::~CDirectoryCombo_BT() {
  if (GetHwnd() != nullptr) ::SendMessageW(GetHwnd(), CBEM_SETIMAGELIST, 0, 0);
}

void CDirectoryCombo_BT::OnAttached() {
  images_ = CreateSmallImageList(9, 4);
  struct Entry {
    const wchar_t* id;
    DefaultImage fallback;
  };
  static const Entry kImages[kSlotCount] = {
      {L"DriveIcon", DefaultImage::kDrive},       {L"NetworkDrive", DefaultImage::kNetworkDrive},
      {L"RemovableDrive", DefaultImage::kRemovableDrive}, {L"CDDrive", DefaultImage::kCdDrive},
      {L"Folder", DefaultImage::kFolder},         {L"VirtualDirectory", DefaultImage::kVirtualFolder}};
  for (const Entry& entry : kImages) {
    if (AddImage(images_.Get(), context_.record, entry.id, entry.fallback) < 0) {
      LogDebug(L"Folder image %s is not available.", entry.id);
    }
  }
  ::SendMessageW(GetHwnd(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
  RefreshFromProperty();
}

void CDirectoryCombo_BT::RefreshFromProperty() {
  const std::wstring folder = WithBackslash(GetPropertyValue());
  if (folder == shown_ && !paths_.empty()) return;
  Fill(folder);
}

void CDirectoryCombo_BT::Fill(const std::wstring& folder) {
  HWND combo = GetHwnd();
  ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  paths_.clear();
  shown_ = folder;
  CQuietDriveProbe quiet;
  int selected = -1;
  auto add = [&](const std::wstring& path, const std::wstring& text, int image, int indent) {
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
    item.iItem = static_cast<INT_PTR>(paths_.size());
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.iSelectedImage = image;
    item.iIndent = indent;
    if (::SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0) paths_.push_back(path);
  };
  const std::wstring folderRoot = folder.size() >= 3 ? folder.substr(0, 3) : std::wstring();
  for (const std::wstring& root : ShownDrives(control_, folderRoot)) {
    const UINT type = SystemDriveType(root);
    const int image = type == DRIVE_REMOTE ? kNetwork : type == DRIVE_REMOVABLE ? kRemovable
                                                      : type == DRIVE_CDROM     ? kCd
                                                                                : kDrive;
    add(root, root.substr(0, 2), image, 0);
    if (folderRoot.empty() || ::lstrcmpiW(root.c_str(), folderRoot.c_str()) != 0) continue;
    selected = static_cast<int>(paths_.size()) - 1;
    // The folders from the root down to the current one, one level deeper each.
    int indent = 1;
    for (size_t at = 3; at < folder.size(); ++indent) {
      const size_t slash = folder.find(L'\\', at);
      const size_t end = slash == std::wstring::npos ? folder.size() : slash;
      const std::wstring path = folder.substr(0, end + 1);
      const DWORD attributes = ::GetFileAttributesW(path.c_str());
      add(WithBackslash(path), folder.substr(at, end - at),
          attributes == INVALID_FILE_ATTRIBUTES ? kVirtual : kFolder, indent);
      selected = static_cast<int>(paths_.size()) - 1;
      at = end + 1;
    }
  }
  ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  AdjustDropWidth();
}

void CDirectoryCombo_BT::AdjustDropWidth() {
  // The open list is as wide as its widest entry (image and indent included).
  HWND combo = GetHwnd();
  HDC dc = ::GetDC(combo);
  if (dc == nullptr) return;
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(combo, WM_GETFONT, 0, 0)));
  int widest = 0;
  const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    wchar_t text[MAX_PATH] = {};
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (::SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == 0) continue;
    SIZE size = {};
    (void)::GetTextExtentPoint32W(dc, text, ::lstrlenW(text), &size);
    const int width = size.cx + (item.iIndent + 1) * kIndentWidth + 2 * kIndentWidth;
    if (width > widest) widest = width;
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(combo, dc);
  RECT rect = {};
  ::GetWindowRect(combo, &rect);
  if (widest > rect.right - rect.left) ::SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest), 0);
}

void CDirectoryCombo_BT::OnNotify(WORD code) {
  if (code != CBN_SELENDOK && code != CBN_SELCHANGE) return;
  const LRESULT index = ::SendMessageW(GetHwnd(), CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= paths_.size()) return;
  const std::wstring path = paths_[static_cast<size_t>(index)];
  if (path == shown_) return;
  SetPropertyValue(path);
  Fill(path);
  host_.RefreshPropertyControls();
}

}  // namespace ui
