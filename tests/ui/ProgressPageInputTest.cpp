// The progress page's message hook: which messages it takes for stray input.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/UniqueResource.h"
#include "ui/dialogs/ProgressDialog.h"

namespace {

struct InputCase {
  const char* name;
  UINT message;
  bool toFrame;   // aimed at a control of the frame (else at another top-level window)
  int timeShift;  // message time relative to the moment the page showed
  bool stray;
};

class ProgressPageInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(ProgressPageInput, DropsOnlyInputToTheFrameGivenBeforeThePageShowed) {
  platform::UniqueWindow frame(::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                                 nullptr, nullptr));
  ASSERT_TRUE(frame);
  HWND button = ::CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD, 0, 0, 50, 20, frame.Get(), nullptr, nullptr,
                                  nullptr);
  ASSERT_NE(button, nullptr);
  platform::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                                 nullptr, nullptr));
  ASSERT_TRUE(other);
  const DWORD shownAt = 1000000;
  MSG message = {};
  message.hwnd = GetParam().toFrame ? button : other.Get();
  message.message = GetParam().message;
  message.time = shownAt + static_cast<DWORD>(GetParam().timeShift);
  EXPECT_EQ(ui::CProgressDialog::IsStrayInput(message, shownAt, frame.Get()), GetParam().stray);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ProgressPageInput,
    ::testing::Values(InputCase{"EarlyClickOnCancel", WM_LBUTTONUP, true, -20, true},
                      InputCase{"EarlyDoubleClick", WM_LBUTTONDBLCLK, true, -1, true},
                      InputCase{"EarlyEnter", WM_KEYDOWN, true, -5, true},
                      InputCase{"EarlyCloseBoxClick", WM_NCLBUTTONDOWN, true, -5, true},
                      InputCase{"LaterClick", WM_LBUTTONDOWN, true, 20, false},
                      InputCase{"ClickAtTheSameTick", WM_LBUTTONDOWN, true, 0, false},
                      InputCase{"EarlyClickOnAnotherWindow", WM_LBUTTONDOWN, false, -20, false},
                      InputCase{"EarlyMouseMove", WM_MOUSEMOVE, true, -20, false},
                      InputCase{"EarlyPaint", WM_PAINT, true, -20, false},
                      InputCase{"EarlyWheel", WM_MOUSEWHEEL, true, -20, false}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST(ProgressPageInputWrap, MessageTimesAcrossTheTickCountsWrapCompareInOrder) {
  platform::UniqueWindow frame(::CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                                 nullptr, nullptr));
  ASSERT_TRUE(frame);
  MSG message = {};
  message.hwnd = frame.Get();
  message.message = WM_LBUTTONDOWN;
  message.time = 0xFFFFFFF0u;  // just before the wrap
  EXPECT_TRUE(ui::CProgressDialog::IsStrayInput(message, 0x10u, frame.Get()));
  message.time = 0x20u;  // just after it
  EXPECT_FALSE(ui::CProgressDialog::IsStrayInput(message, 0xFFFFFFF0u, frame.Get()));
}

}  // namespace
