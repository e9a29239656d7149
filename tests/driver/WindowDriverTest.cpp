// The window driver against the fake wizard running on a thread of this
// process: what end-to-end tests and the demo rely on, checked without
// Setup.exe.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "support/FakeWizard.h"
#include "support/TestPaths.h"
#include "support/WindowDriver.h"

using testsupport::ControlInfo;
using testsupport::DialogWindow;
using testsupport::FakeWizard;
using testsupport::WindowDriver;

namespace {

constexpr DWORD kWaitMs = 10000;

class WindowDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wizard_.Start());
    ASSERT_TRUE(driver_.WaitForPage(L"FirstDlg", kWaitMs, page_));
  }

  ControlInfo Control(const std::wstring& idOrText) {
    ControlInfo control;
    EXPECT_TRUE(testsupport::FindControl(driver_.CurrentPage().window, idOrText, control)) << platform::WideToUtf8(idOrText);
    return control;
  }

  // Polls a condition the wizard's thread makes true.
  template <typename Condition>
  static bool Eventually(Condition condition) {
    const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
    while (!condition()) {
      if (::GetTickCount64() >= deadline) return false;
      ::Sleep(10);
    }
    return true;
  }

  FakeWizard wizard_;
  WindowDriver driver_{::GetCurrentProcessId()};
  DialogWindow page_;
};

TEST_F(WindowDriverTest, FindsTheFrameByTitleAndThePageInsideIt) {
  HWND frame = driver_.MainFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(testsupport::ReadWindowText(frame), FakeWizard::kTitle);
  EXPECT_EQ(testsupport::ClassNameOf(frame), L"#32770");
  EXPECT_TRUE(testsupport::DialogIdOf(frame).empty());
  EXPECT_EQ(page_.id, L"FirstDlg");
  EXPECT_FALSE(page_.spawned);
  EXPECT_EQ(::GetAncestor(page_.window, GA_PARENT), frame);
  EXPECT_EQ(driver_.ActiveDialog().window, page_.window);
  EXPECT_TRUE(driver_.SpawnedDialogs().empty());
}

struct ControlCase {
  const wchar_t* wixId;
  const wchar_t* className;
  const wchar_t* text;
  bool enabled;
};

TEST_F(WindowDriverTest, DescribesEveryControlWithClassTextStateAndWixId) {
  const std::vector<ControlInfo> controls = testsupport::DialogControls(page_.window);
  const ControlCase cases[] = {
      {L"Title", L"Static", L"Welcome to the fake wizard", true},
      {L"Accept", L"Button", L"I &accept the terms", true},
      {L"ColorGroup", L"Static", L"", true},
      {L"Red", L"Button", L"&Red", true},
      {L"NameEdit", L"RichEdit20W", L"", true},
      {L"SizeCombo", L"ComboBox", L"", true},
      {L"ShapeList", L"ListBox", L"", true},
      {L"Progress", L"msctls_progress32", L"", true},
      {L"Install", L"Button", L"&Install", false},
      {L"Next", L"Button", L"&Next", true},
  };
  for (const ControlCase& expected : cases) {
    SCOPED_TRACE(platform::WideToUtf8(expected.wixId));
    ControlInfo found;
    ASSERT_TRUE(testsupport::FindControl(controls, expected.wixId, found));
    EXPECT_EQ(found.controlId, expected.wixId);
    EXPECT_EQ(found.className, expected.className);
    EXPECT_EQ(found.text, expected.text);
    EXPECT_EQ(found.enabled, expected.enabled);
    EXPECT_TRUE(found.visible);
    EXPECT_EQ(found.checked, BST_UNCHECKED);
  }
  // Radio buttons are found through their group and name it as their parent.
  ControlInfo red;
  ControlInfo group;
  ASSERT_TRUE(testsupport::FindControl(controls, L"Red", red));
  ASSERT_TRUE(testsupport::FindControl(controls, L"ColorGroup", group));
  EXPECT_EQ(red.parent, group.window);
}

TEST_F(WindowDriverTest, ReadsTheControlIdsTheWizardCountedFrom1025) {
  std::vector<int> ids;
  for (const ControlInfo& control : testsupport::DialogControls(page_.window)) {
    if (!control.controlId.empty()) ids.push_back(control.id);
  }
  ASSERT_FALSE(ids.empty());
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids.front(), 1025);
  EXPECT_EQ(ids.back(), 1025 + static_cast<int>(ids.size()) - 1);
}

TEST_F(WindowDriverTest, FindsAControlByItsTextWithoutMnemonicMarkers) {
  ControlInfo byText;
  ASSERT_TRUE(testsupport::FindControl(page_.window, L"I accept the terms", byText));
  EXPECT_EQ(byText.controlId, L"Accept");
  ControlInfo byMarkedText;
  ASSERT_TRUE(testsupport::FindControl(page_.window, L"&Next", byMarkedText));
  EXPECT_EQ(byMarkedText.controlId, L"Next");
  ControlInfo none;
  EXPECT_FALSE(testsupport::FindControl(page_.window, L"NoSuchControl", none));
}

TEST_F(WindowDriverTest, ClickOnACheckBoxTogglesItAndItsConditionEnablesAButton) {
  const ControlInfo accept = Control(L"Accept");
  ASSERT_TRUE(testsupport::Click(accept.window));
  EXPECT_TRUE(Eventually([&] { return Control(L"Install").enabled; }));
  EXPECT_EQ(Control(L"Accept").checked, BST_CHECKED);
  EXPECT_EQ(wizard_.Property(L"ACCEPTED"), L"1");

  ASSERT_TRUE(testsupport::Click(accept.window));
  EXPECT_TRUE(Eventually([&] { return !Control(L"Install").enabled; }));
  EXPECT_EQ(Control(L"Accept").checked, BST_UNCHECKED);
  EXPECT_EQ(wizard_.Property(L"ACCEPTED"), L"");
}

TEST_F(WindowDriverTest, ClickOnARadioButtonChecksItAndWritesTheGroupsValue) {
  ASSERT_TRUE(testsupport::Click(Control(L"Blue").window));
  EXPECT_TRUE(Eventually([&] { return wizard_.Property(L"COLOR") == L"Blue"; }));
  EXPECT_EQ(Control(L"Blue").checked, BST_CHECKED);
  EXPECT_EQ(Control(L"Red").checked, BST_UNCHECKED);
}

TEST_F(WindowDriverTest, TypingReplacesTheEditTextAndTheEditWritesItsProperty) {
  const ControlInfo edit = Control(L"NameEdit");
  ASSERT_TRUE(testsupport::TypeText(edit.window, L"first text"));
  ASSERT_TRUE(Eventually([&] { return wizard_.Property(L"USERNAME") == L"first text"; }));
  ASSERT_TRUE(testsupport::TypeText(edit.window, L"Ada & Co"));
  EXPECT_TRUE(Eventually([&] { return wizard_.Property(L"USERNAME") == L"Ada & Co"; }))
      << platform::WideToUtf8(wizard_.Property(L"USERNAME"));
  EXPECT_EQ(testsupport::ReadWindowText(edit.window), L"Ada & Co");
}

TEST_F(WindowDriverTest, ReadsComboAndListItemsAndSelectsOneAsAUserWould) {
  const ControlInfo combo = Control(L"SizeCombo");
  const ControlInfo list = Control(L"ShapeList");
  EXPECT_EQ(testsupport::ListItems(combo.window), (std::vector<std::wstring>{L"Small", L"Medium", L"Large"}));
  EXPECT_EQ(testsupport::ListItems(list.window), (std::vector<std::wstring>{L"Circle", L"Square"}));
  EXPECT_TRUE(testsupport::ListItems(Control(L"Next").window).empty());

  ASSERT_TRUE(testsupport::SelectItem(combo.window, L"Large"));
  ASSERT_TRUE(testsupport::SelectItem(list.window, L"Square"));
  EXPECT_TRUE(Eventually([&] { return wizard_.Property(L"SIZE") == L"Large" && wizard_.Property(L"SHAPE") == L"Square"; }));
  EXPECT_FALSE(testsupport::SelectItem(combo.window, L"Huge"));
}

TEST_F(WindowDriverTest, WaitsForTheNextPageAndCountsIdsOnAcrossPages) {
  std::set<int> firstIds;
  for (const ControlInfo& control : testsupport::DialogControls(page_.window)) firstIds.insert(control.id);
  ASSERT_TRUE(testsupport::TypeText(Control(L"NameEdit").window, L"Grace"));
  ASSERT_TRUE(Eventually([&] { return wizard_.Property(L"USERNAME") == L"Grace"; }));
  ASSERT_TRUE(testsupport::Click(Control(L"Next").window));

  DialogWindow second;
  ASSERT_TRUE(driver_.WaitForPage(L"SecondDlg", kWaitMs, second));
  EXPECT_FALSE(::IsWindow(page_.window));
  EXPECT_EQ(Control(L"NameEcho").text, L"Name: Grace");
  for (const ControlInfo& control : testsupport::DialogControls(second.window)) {
    EXPECT_EQ(firstIds.count(control.id), 0u) << control.id;
    EXPECT_GT(control.id, *firstIds.rbegin());
  }
  ASSERT_TRUE(testsupport::Click(Control(L"Back").window));
  DialogWindow again;
  ASSERT_TRUE(driver_.WaitForPage(L"FirstDlg", kWaitMs, again));
  EXPECT_NE(again.window, page_.window);
}

TEST_F(WindowDriverTest, WaitingForAPageThatNeverComesEndsAtItsTimeout) {
  const ULONGLONG start = ::GetTickCount64();
  DialogWindow none;
  EXPECT_FALSE(driver_.WaitForPage(L"NeverDlg", 300, none));
  const ULONGLONG waited = ::GetTickCount64() - start;
  EXPECT_GE(waited, 290u);
  EXPECT_LT(waited, 5000u);
  EXPECT_FALSE(none.IsValid());
}

TEST_F(WindowDriverTest, EscapeOnASpawnedDialogEndsItWithTwoAndThePageStays) {
  ASSERT_TRUE(testsupport::Click(Control(L"Cancel").window));
  DialogWindow cancel;
  ASSERT_TRUE(driver_.WaitForDialog(L"CancelDlg", kWaitMs, cancel));
  EXPECT_TRUE(cancel.spawned);
  EXPECT_EQ(driver_.ActiveDialog().window, cancel.window);
  EXPECT_EQ(driver_.CurrentPage().window, page_.window);
  EXPECT_NE(::GetAncestor(cancel.window, GA_PARENT), driver_.MainFrame());

  ASSERT_TRUE(testsupport::PressEscape(cancel.window));
  EXPECT_TRUE(testsupport::WaitUntilGone(cancel.window, kWaitMs));
  EXPECT_TRUE(Eventually([&] { return wizard_.LastSpawnResult() == 2; }));
  EXPECT_EQ(driver_.CurrentPage().window, page_.window);
  EXPECT_TRUE(driver_.SpawnedDialogs().empty());
}

TEST_F(WindowDriverTest, YesOnTheSpawnedDialogLeadsToTheUserExitPage) {
  ASSERT_TRUE(testsupport::Click(Control(L"Cancel").window));
  DialogWindow cancel;
  ASSERT_TRUE(driver_.WaitForDialog(L"CancelDlg", kWaitMs, cancel));
  ControlInfo yes;
  ASSERT_TRUE(testsupport::FindControl(cancel.window, L"Yes", yes));
  ASSERT_TRUE(testsupport::Click(yes.window));
  DialogWindow exitPage;
  ASSERT_TRUE(driver_.WaitForPage(L"UserExitDlg", kWaitMs, exitPage));
  EXPECT_EQ(wizard_.LastSpawnResult(), 15);
  EXPECT_FALSE(::IsWindow(cancel.window));
}

TEST_F(WindowDriverTest, ReadsTheFramesPixelsFromTheScreenAndSavesItsImage) {
  HWND frame = driver_.MainFrame();
  ASSERT_NE(frame, nullptr);
  // Above the page the frame shows its own background.
  POINT point = {20, 10};
  ASSERT_TRUE(::ClientToScreen(frame, &point));
  EXPECT_TRUE(Eventually([&] { return testsupport::ScreenPixel(point.x, point.y) == FakeWizard::kBackground; }))
      << std::hex << testsupport::ScreenPixel(point.x, point.y);
  RECT window = {};
  ASSERT_TRUE(::GetWindowRect(frame, &window));
  EXPECT_EQ(testsupport::WindowPixel(frame, point.x - window.left, point.y - window.top), FakeWizard::kBackground);

  const std::wstring folder = testsupport::MakeScratchFolder(L"driverimage");
  const std::wstring path = folder + L"frame.bmp";
  ASSERT_TRUE(testsupport::SaveWindowImage(frame, path));
  const std::string bytes = testsupport::ReadFileBytes(path);
  ASSERT_GT(bytes.size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  BITMAPINFOHEADER info = {};
  std::copy_n(bytes.data() + sizeof(BITMAPFILEHEADER), sizeof(info), reinterpret_cast<char*>(&info));
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  EXPECT_EQ(info.biWidth, width);
  EXPECT_EQ(info.biHeight, height);
  EXPECT_EQ(info.biBitCount, 24);
  // Rows are stored bottom-up, padded to four bytes.
  const size_t rowBytes = static_cast<size_t>((width * 3 + 3) & ~3);
  const int x = point.x - window.left;
  const int y = point.y - window.top;
  const size_t at = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + static_cast<size_t>(height - 1 - y) * rowBytes +
                    static_cast<size_t>(x) * 3;
  ASSERT_LT(at + 2, bytes.size());
  const COLORREF saved = RGB(static_cast<unsigned char>(bytes[at + 2]), static_cast<unsigned char>(bytes[at + 1]),
                             static_cast<unsigned char>(bytes[at]));
  EXPECT_EQ(saved, FakeWizard::kBackground);
  testsupport::RemoveFolder(folder);
}

}  // namespace
