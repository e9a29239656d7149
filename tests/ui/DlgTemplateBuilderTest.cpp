// In-memory dialog templates: a dialog made from one really opens with the
// title, font and size given, whatever their length.

#include <gtest/gtest.h>

#include <string>

#include "ui/host/DlgTemplateBuilder.h"

namespace {

INT_PTR CALLBACK EndAtOnce(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* seen = reinterpret_cast<std::wstring*>(lParam);
  wchar_t title[8192] = {};
  ::GetWindowTextW(window, title, 8192);
  *seen = title;
  ::EndDialog(window, 7);
  return TRUE;
}

class TemplateTitle : public ::testing::TestWithParam<size_t> {};

TEST_P(TemplateTitle, SurvivesIntoTheWindow) {
  const std::wstring title(GetParam(), L'T');
  const std::wstring face(GetParam() > 100 ? 40 : 8, L'F');  // a face name longer than Windows keeps
  ui::CDlgTemplateBuilder builder;
  builder.Build(WS_POPUP | DS_SETFONT, 0, RECT{0, 0, 100, 50}, title, 8, face);
  std::wstring seen;
  const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), builder.GetTemplate(), nullptr,
                                                   &EndAtOnce, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(result, 7);
  EXPECT_EQ(seen, title);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TemplateTitle, ::testing::Values(0, 20, 1500, 4000),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return "Characters" + std::to_string(info.param);
                         });

}  // namespace
