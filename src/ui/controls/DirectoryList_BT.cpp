#include "ui/controls/DirectoryList_BT.h"

#include <commctrl.h>

#include <algorithm>

#include "log/Log.h"
#include "ui/controls/ControlFactory.h"
#include "ui/controls/DefaultIcons.h"
#include "ui/controls/PathEdit_BT.h"
#include "ui/controls/PathValidation.h"

namespace ui {

namespace {

constexpr UINT kMessageStyle = MB_OK | MB_ICONEXCLAMATION;  // 0x30
constexpr wchar_t kNewFolderName[] = L"New Folder";

std::wstring WithBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

bool SameText(const std::wstring& a, const std::wstring& b) { return ::lstrcmpiW(a.c_str(), b.c_str()) == 0; }

}  // namespace

CDirectoryListCtrl_BT::CDirectoryListCtrl_BT(const CWixControl* control, const ControlContext& context,
                                             IControlHost& host)
    : CControlWindow(control, context), host_(host) {}

CDirectoryListCtrl_BT::~CDirectoryListCtrl_BT() {
  if (GetHwnd() != nullptr) (void)ListView_SetImageList(GetHwnd(), nullptr, LVSIL_SMALL);
}

void CDirectoryListCtrl_BT::OnAttached() {
  images_ = CreateSmallImageList(3, 1);
  folderImage_ = AddImage(images_.Get(), context_.record, L"Folder", DefaultImage::kFolder);
  virtualImage_ = AddImage(images_.Get(), context_.record, L"VirtualDirectory", DefaultImage::kVirtualFolder);
  (void)ListView_SetImageList(GetHwnd(), images_.Get(), LVSIL_SMALL);
  RefreshFromProperty();
}

void CDirectoryListCtrl_BT::RefreshFromProperty() {
  const std::wstring folder = WithBackslash(GetPropertyValue());
  if (folder == current_ && ListView_GetItemCount(GetHwnd()) > 0) return;
  current_ = folder;
  Fill();
}

void CDirectoryListCtrl_BT::Fill() {
  HWND list = GetHwnd();
  (void)ListView_DeleteAllItems(list);
  if (current_.empty()) return;
  std::vector<std::wstring> names;
  CQuietDriveProbe quiet;  // an empty removable drive must not raise a "no disk" box
  WIN32_FIND_DATAW found = {};
  HANDLE search = ::FindFirstFileW((current_ + L"*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // An access-denied or not-yet-created folder lists what the user makes in it.
    LogDebug(L"The folder %s cannot be listed (error %lu).", current_.c_str(), ::GetLastError());
  } else {
    do {
      const std::wstring name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == L"." || name == L"..") continue;
      names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
  });
  auto insert = [&](const std::wstring& name, int image) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.iImage = image;
    if (ListView_InsertItem(list, &item) < 0) {
      LogDebug(L"Unable to add the directory %s in Directory list control", name.c_str());
    }
  };
  for (const std::wstring& name : names) insert(name, folderImage_);
  for (const std::wstring& path : virtualFolders_) {
    // Only the virtual folders directly below the current one.
    if (path.size() <= current_.size() || !SameText(path.substr(0, current_.size()), current_)) continue;
    const std::wstring rest = path.substr(current_.size(), path.size() - current_.size() - 1);
    if (rest.find(L'\\') != std::wstring::npos) continue;
    if (std::find_if(names.begin(), names.end(), [&](const std::wstring& n) { return SameText(n, rest); }) ==
        names.end()) {
      insert(rest, virtualImage_);
    }
  }
}

std::vector<std::wstring> CDirectoryListCtrl_BT::GetShownNames() const {
  std::vector<std::wstring> names;
  const int count = ListView_GetItemCount(GetHwnd());
  for (int i = 0; i < count; ++i) names.push_back(ItemText(i));
  return names;
}

std::wstring CDirectoryListCtrl_BT::ItemText(int item) const {
  wchar_t text[MAX_PATH] = {};
  ListView_GetItemText(GetHwnd(), item, 0, text, MAX_PATH);
  return text;
}

void CDirectoryListCtrl_BT::ChangeFolder(const std::wstring& folder) {
  current_ = WithBackslash(folder);
  SetPropertyValue(current_);
  Fill();
  host_.RefreshPropertyControls();
}

void CDirectoryListCtrl_BT::DirectoryListUp() {
  if (current_.size() <= 3) return;  // "C:\" has no parent
  const size_t slash = current_.find_last_of(L'\\', current_.size() - 2);
  if (slash == std::wstring::npos) return;
  ChangeFolder(current_.substr(0, slash + 1));
}

void CDirectoryListCtrl_BT::Open(const std::wstring& name) {
  if (!name.empty()) ChangeFolder(current_ + name);
}

std::wstring CDirectoryListCtrl_BT::UniqueNewName() const {
  const std::vector<std::wstring> shown = GetShownNames();
  std::wstring name = kNewFolderName;
  for (int n = 2; std::any_of(shown.begin(), shown.end(), [&](const std::wstring& s) { return SameText(s, name); });
       ++n) {
    name = std::wstring(kNewFolderName) + L" " + std::to_wstring(n);
  }
  return name;
}

void CDirectoryListCtrl_BT::DirectoryListNew() {
  if (current_.empty()) return;
  const std::wstring name = UniqueNewName();
  virtualFolders_.insert(current_ + name + L"\\");
  Fill();
  LVFINDINFOW find = {};
  find.flags = LVFI_STRING;
  find.psz = name.c_str();
  const int item = ListView_FindItem(GetHwnd(), -1, &find);
  if (item < 0) {
    LogError(L"Error while adding New virtual folder in directroy list control");
    return;
  }
  ::SetFocus(GetHwnd());
  (void)ListView_EnsureVisible(GetHwnd(), item, FALSE);
  if (ListView_EditLabel(GetHwnd(), item) == nullptr) {
    LogError(L"Error while adding New virtual folder in directroy list control");
  }
}

bool CDirectoryListCtrl_BT::EndLabelEdit(int item, const wchar_t* text) {
  if (text == nullptr || item < 0) return false;  // editing cancelled: the name stays
  const std::wstring name = text;
  const std::wstring old = ItemText(item);
  if (name == old) return false;
  if (!IsValidFolderName(name)) {
    LogInformation(L"The folder name %s is refused.", name.c_str());
    ::MessageBoxW(nullptr, CPathEdit_BT::MessageText(context_.wix, L"Error1324", name).c_str(), L"Setup",
                  kMessageStyle);
    return false;
  }
  const std::vector<std::wstring> shown = GetShownNames();
  if (std::any_of(shown.begin(), shown.end(), [&](const std::wstring& s) { return SameText(s, name); })) return false;
  // Only a virtual folder can be renamed: existing folders stay as they are.
  auto found = virtualFolders_.find(current_ + old + L"\\");
  if (found == virtualFolders_.end()) return false;
  virtualFolders_.erase(found);
  virtualFolders_.insert(current_ + name + L"\\");
  return true;
}

bool CDirectoryListCtrl_BT::OnNotifyMessage(const NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case NM_DBLCLK: {
      const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
      if (activate.iItem >= 0) Open(ItemText(activate.iItem));
      result = 0;
      return true;
    }
    case LVN_BEGINLABELEDITW: {
      // Existing folders keep their names; only a new one is named here.
      const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(header);
      result = virtualFolders_.count(current_ + ItemText(info.item.iItem) + L"\\") != 0 ? FALSE : TRUE;
      return true;
    }
    case LVN_ENDLABELEDITW: {
      const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(header);
      result = EndLabelEdit(info.item.iItem, info.item.pszText) ? TRUE : FALSE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace ui
