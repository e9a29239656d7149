#include "support/FakeWizard.h"

#include <commctrl.h>
#include <richedit.h>

#include "support/WindowDriver.h"

namespace testsupport {

namespace {

constexpr UINT kShowPageMessage = WM_APP + 1;  // wParam: the page kind
constexpr UINT kFinishMessage = WM_APP + 2;
constexpr int kSpawnExit = 15;
constexpr int kSpawnReturn = 14;

// An in-memory dialog template without controls; the controls are created
// in the dialog's initialisation, as the wizard does.
std::vector<WORD> DialogTemplate(DWORD style, short width, short height, const std::wstring& title, short x = 0,
                                 short y = 0) {
  std::vector<WORD> words;
  auto dword = [&words](DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
  };
  dword(style | DS_SETFONT);
  dword(0);          // extended style
  words.push_back(0);  // no controls
  words.push_back(static_cast<WORD>(x));
  words.push_back(static_cast<WORD>(y));
  words.push_back(static_cast<WORD>(width));
  words.push_back(static_cast<WORD>(height));
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (wchar_t c : title) words.push_back(c);
  words.push_back(0);
  words.push_back(8);  // point size
  for (wchar_t c : std::wstring(L"Tahoma")) words.push_back(c);
  words.push_back(0);
  return words;
}

// Radio buttons are children of their group, which hands their clicks on to
// the dialog.
LRESULT CALLBACK GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_COMMAND) return ::SendMessageW(::GetAncestor(window, GA_PARENT), message, wParam, lParam);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

const DLGTEMPLATE* AsTemplate(const std::vector<WORD>& words) {
  return reinterpret_cast<const DLGTEMPLATE*>(words.data());
}

}  // namespace

FakeWizard::FakeWizard() : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

FakeWizard::~FakeWizard() {
  if (thread_.joinable()) {
    // WM_QUIT also ends a modal loop, which posts it again for the outer one.
    if (threadId_.load() != 0) ::PostThreadMessageW(threadId_.load(), WM_QUIT, 0, 0);
    thread_.join();
  }
}

bool FakeWizard::Start() {
  thread_ = std::thread([this] { (void)Run(); });
  return ::WaitForSingleObject(ready_.Get(), 10000) == WAIT_OBJECT_0;
}

int FakeWizard::Run() {
  threadId_ = ::GetCurrentThreadId();
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  richEdit_.Reset(::LoadLibraryW(L"riched20.dll"));
  background_.Reset(::CreateSolidBrush(kBackground));
  frame_ = CreateFrame();
  if (frame_ == nullptr) return -1;
  ShowPage(Kind::FirstDlg);
  ::SetEvent(ready_.Get());
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (::IsWindow(frame_)) ::DestroyWindow(frame_);
  frame_ = nullptr;
  page_ = nullptr;
  return exitCode_;
}

std::wstring FakeWizard::Property(const std::wstring& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = properties_.find(name);
  return found == properties_.end() ? std::wstring() : found->second;
}

void FakeWizard::SetProperty(const std::wstring& name, const std::wstring& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  properties_[name] = value;
}

HWND FakeWizard::CreateFrame() {
  building_ = Kind::Frame;
  const std::vector<WORD> frame =
      DialogTemplate(WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN, 320, 230, kTitle);
  return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), AsTemplate(frame), nullptr, DialogProc,
                                      reinterpret_cast<LPARAM>(this));
}

void FakeWizard::ShowPage(Kind kind) {
  // A page is never destroyed from inside its own handler: the frame does it
  // on a posted message, as the wizard must.
  if (page_ != nullptr) ::DestroyWindow(page_);
  building_ = kind;
  const std::vector<WORD> page = DialogTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL, 300, 190, L"", 10, 30);
  page_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), AsTemplate(page), frame_, DialogProc,
                                       reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK FakeWizard::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<FakeWizard*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  return self == nullptr ? FALSE : self->Handle(dialog, message, wParam, lParam);
}

INT_PTR FakeWizard::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      BuildControls(dialog, building_);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(background_.Get());
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && lParam == 0 && dialog != frame_ && dialog != page_) {
        ::EndDialog(dialog, 2);  // Escape on a spawned dialog
        return TRUE;
      }
      OnCommand(dialog, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return TRUE;
    case kShowPageMessage:
      ShowPage(static_cast<Kind>(wParam));
      return TRUE;
    case kFinishMessage:
      exitCode_ = kFinishExitCode;
      ::DestroyWindow(frame_);
      ::PostQuitMessage(kFinishExitCode);
      return TRUE;
    default:
      return FALSE;
  }
}

void FakeWizard::OnCommand(HWND dialog, HWND control, WORD code) {
  if (control == nullptr) return;
  const std::wstring id = ControlIdOf(control);
  auto showPage = [this](Kind kind) { ::PostMessageW(frame_, kShowPageMessage, static_cast<WPARAM>(kind), 0); };
  if (id == L"NameEdit" && code == EN_CHANGE) {
    wchar_t text[256] = {};
    ::GetWindowTextW(control, text, 256);
    SetProperty(L"USERNAME", text);
  } else if ((id == L"SizeCombo" && code == CBN_SELCHANGE) || (id == L"ShapeList" && code == LBN_SELCHANGE)) {
    const bool combo = id == L"SizeCombo";
    const LRESULT index = ::SendMessageW(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    wchar_t text[256] = {};
    if (index >= 0) ::SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    SetProperty(combo ? L"SIZE" : L"SHAPE", text);
  } else if (code != BN_CLICKED) {
    return;
  } else if (id == L"Accept") {
    const bool checked = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SetProperty(L"ACCEPTED", checked ? L"1" : L"");
    // The control condition of the Install button.
    ControlInfo install;
    if (FindControl(dialog, L"Install", install)) ::EnableWindow(install.window, checked);
  } else if (id == L"Red" || id == L"Blue") {
    SetProperty(L"COLOR", id);
  } else if (id == L"Next") {
    showPage(Kind::SecondDlg);
  } else if (id == L"Back") {
    showPage(Kind::FirstDlg);
  } else if (id == L"Cancel") {
    building_ = Kind::CancelDlg;
    const std::vector<WORD> cancel =
        DialogTemplate(WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_MODALFRAME, 200, 60, kTitle, 40, 60);
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), AsTemplate(cancel), frame_,
                                                     DialogProc, reinterpret_cast<LPARAM>(this));
    lastSpawnResult_ = static_cast<int>(result);
    if (result == kSpawnExit) showPage(Kind::UserExitDlg);
  } else if (id == L"Yes" || id == L"No") {
    ::EndDialog(dialog, id == L"Yes" ? kSpawnExit : kSpawnReturn);
  } else if (id == L"Finish") {
    ::PostMessageW(frame_, kFinishMessage, 0, 0);
  }
}

void FakeWizard::Mark(HWND window, const wchar_t* property, const std::wstring& id) {
  atoms_.emplace_back(id);
  ::SetPropW(window, property, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atoms_.back().Get())));
}

HWND FakeWizard::AddControl(HWND dialog, HWND parent, const wchar_t* wixId, const wchar_t* className,
                            const std::wstring& text, DWORD style, int x, int y, int width, int height) {
  RECT rect = {x, y, x + width, y + height};
  ::MapDialogRect(dialog, &rect);
  const int id = nextControlId_++;
  HWND window = ::CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent != nullptr ? parent : dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return nullptr;
  Mark(window, L"SetupControlId", wixId);
  ::SendMessageW(window, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), TRUE);
  return window;
}

void FakeWizard::BuildControls(HWND dialog, Kind kind) {
  switch (kind) {
    case Kind::Frame:
      return;  // the frame is no WiX dialog: no dialog id
    case Kind::FirstDlg: {
      Mark(dialog, L"SetupDialogId", L"FirstDlg");
      AddControl(dialog, nullptr, L"Title", L"Static", L"Welcome to the fake wizard", SS_LEFT, 5, 5, 200, 10);
      AddControl(dialog, nullptr, L"Accept", L"Button", L"I &accept the terms", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 20,
                 150, 10);
      HWND group = AddControl(dialog, nullptr, L"ColorGroup", L"Static", L"", SS_LEFT, 5, 35, 120, 30);
      ::SetWindowLongPtrW(group, GWL_EXSTYLE, ::GetWindowLongPtrW(group, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
      ::SetWindowSubclass(group, GroupProc, 1, 0);
      AddControl(dialog, group, L"Red", L"Button", L"&Red", BS_AUTORADIOBUTTON | WS_GROUP, 0, 0, 60, 10);
      AddControl(dialog, group, L"Blue", L"Button", L"&Blue", BS_AUTORADIOBUTTON, 0, 12, 60, 10);
      HWND edit = AddControl(dialog, nullptr, L"NameEdit", L"RichEdit20W", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                             5, 70, 150, 12);
      if (edit != nullptr) ::SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE);
      HWND combo = AddControl(dialog, nullptr, L"SizeCombo", L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 5, 88,
                              100, 60);
      HWND list = AddControl(dialog, nullptr, L"ShapeList", L"ListBox", L"", LBS_NOTIFY | WS_BORDER, 160, 20, 100, 40);
      for (const wchar_t* item : {L"Small", L"Medium", L"Large"}) {
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
      for (const wchar_t* item : {L"Circle", L"Square"}) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
      HWND progress = AddControl(dialog, nullptr, L"Progress", PROGRESS_CLASSW, L"", 0, 160, 70, 100, 8);
      ::SendMessageW(progress, PBM_SETPOS, 40, 0);
      HWND install = AddControl(dialog, nullptr, L"Install", L"Button", L"&Install", BS_PUSHBUTTON, 120, 165, 50, 14);
      ::EnableWindow(install, FALSE);
      AddControl(dialog, nullptr, L"Next", L"Button", L"&Next", BS_DEFPUSHBUTTON, 180, 165, 50, 14);
      AddControl(dialog, nullptr, L"Cancel", L"Button", L"Cancel", BS_PUSHBUTTON, 240, 165, 50, 14);
      return;
    }
    case Kind::SecondDlg:
      Mark(dialog, L"SetupDialogId", L"SecondDlg");
      AddControl(dialog, nullptr, L"NameEcho", L"Static", L"Name: " + Property(L"USERNAME"), SS_LEFT, 5, 5, 200, 10);
      AddControl(dialog, nullptr, L"Back", L"Button", L"&Back", BS_PUSHBUTTON, 120, 165, 50, 14);
      AddControl(dialog, nullptr, L"Cancel", L"Button", L"Cancel", BS_PUSHBUTTON, 240, 165, 50, 14);
      return;
    case Kind::UserExitDlg:
      Mark(dialog, L"SetupDialogId", L"UserExitDlg");
      AddControl(dialog, nullptr, L"Title", L"Static", L"The fake wizard was interrupted", SS_LEFT, 5, 5, 200, 10);
      AddControl(dialog, nullptr, L"Finish", L"Button", L"&Finish", BS_DEFPUSHBUTTON, 180, 165, 50, 14);
      return;
    case Kind::CancelDlg:
      Mark(dialog, L"SetupDialogId", L"CancelDlg");
      AddControl(dialog, nullptr, L"Text", L"Static", L"Are you sure you want to cancel?", SS_LEFT, 5, 5, 190, 10);
      AddControl(dialog, nullptr, L"Yes", L"Button", L"&Yes", BS_PUSHBUTTON, 40, 35, 50, 14);
      AddControl(dialog, nullptr, L"No", L"Button", L"&No", BS_DEFPUSHBUTTON, 110, 35, 50, 14);
      return;
  }
}

}  // namespace testsupport
