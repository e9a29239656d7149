#pragma once
// A small stand-in for the wizard that marks its windows the way the real
// one promises drivers it will: a top-level frame dialog "<ProductName>
// Setup", pages as child dialogs inside it, spawned dialogs as top-level
// dialogs, the window properties "SetupDialogId"/"SetupControlId" holding
// global atoms of the WiX Ids, control ids counted from 1025. The window
// driver and the wizard_driver tool are tested against it, in-process (on a
// thread of its own) and as a separate process (tools/fake_wizard).
//
// Pages: FirstDlg (every control kind a driver meets) -> Next -> SecondDlg
// (echoes the typed name) -> Back -> FirstDlg. Cancel spawns CancelDlg: Yes
// ends it with 15 and shows UserExitDlg, No with 14, Escape with 2. Finish on
// UserExitDlg ends the frame with kFinishExitCode.

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/UniqueResource.h"

namespace testsupport {

// One reference of a global atom, deleted with its owner.
class UniqueGlobalAtom {
 public:
  UniqueGlobalAtom() = default;
  explicit UniqueGlobalAtom(const std::wstring& name) : atom_(::GlobalAddAtomW(name.c_str())) {}
  ~UniqueGlobalAtom() {
    if (atom_ != 0) ::GlobalDeleteAtom(atom_);
  }
  UniqueGlobalAtom(const UniqueGlobalAtom&) = delete;
  UniqueGlobalAtom& operator=(const UniqueGlobalAtom&) = delete;
  UniqueGlobalAtom(UniqueGlobalAtom&& other) noexcept : atom_(other.atom_) { other.atom_ = 0; }
  UniqueGlobalAtom& operator=(UniqueGlobalAtom&& other) noexcept {
    if (this != &other) {
      if (atom_ != 0) ::GlobalDeleteAtom(atom_);
      atom_ = other.atom_;
      other.atom_ = 0;
    }
    return *this;
  }
  [[nodiscard]] ATOM Get() const { return atom_; }

 private:
  ATOM atom_ = 0;
};

class FakeWizard {
 public:
  static constexpr wchar_t kTitle[] = L"Fake Product Setup";
  static constexpr COLORREF kBackground = RGB(0x3C, 0x9A, 0x5F);
  static constexpr int kFinishExitCode = 7;

  FakeWizard();
  ~FakeWizard();
  FakeWizard(const FakeWizard&) = delete;
  FakeWizard& operator=(const FakeWizard&) = delete;

  // Runs the wizard on a thread of its own; false when its frame did not show in time.
  bool Start();
  // Runs the wizard on the calling thread until it ends; returns its exit code.
  int Run();

  // What the controls wrote, as a wizard writes Windows Installer properties:
  // USERNAME (NameEdit), ACCEPTED (Accept), COLOR (the radio buttons),
  // SIZE (SizeCombo), SHAPE (ShapeList).
  [[nodiscard]] std::wstring Property(const std::wstring& name) const;
  // The end value of the last spawned dialog; -1 before one ended.
  [[nodiscard]] int LastSpawnResult() const { return lastSpawnResult_.load(); }

 private:
  enum class Kind { Frame, FirstDlg, SecondDlg, UserExitDlg, CancelDlg };

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(HWND dialog, HWND control, WORD code);
  HWND CreateFrame();
  void ShowPage(Kind kind);
  void BuildControls(HWND dialog, Kind kind);
  HWND AddControl(HWND dialog, HWND parent, const wchar_t* wixId, const wchar_t* className, const std::wstring& text,
                  DWORD style, int x, int y, int width, int height);
  void Mark(HWND window, const wchar_t* property, const std::wstring& id);
  void SetProperty(const std::wstring& name, const std::wstring& value);

  mutable std::mutex mutex_;
  std::map<std::wstring, std::wstring> properties_;
  std::atomic<int> lastSpawnResult_{-1};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
  platform::UniqueHandle ready_;
  // Used on the wizard's thread only.
  platform::UniqueModule richEdit_;
  platform::UniqueHBrush background_;
  std::vector<UniqueGlobalAtom> atoms_;
  HWND frame_ = nullptr;
  HWND page_ = nullptr;
  Kind building_ = Kind::Frame;
  int nextControlId_ = 1025;
  int exitCode_ = 0;
};

}  // namespace testsupport
