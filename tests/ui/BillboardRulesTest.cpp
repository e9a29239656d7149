// The billboard's arithmetic and its line states: the bar's step per number
// of groups and the state a group's line takes for the group's result.

#include <gtest/gtest.h>

#include "ui/controls/BillboardListBox_BT.h"
#include "ui/host/BillboardManager.h"

namespace {

struct StepCase {
  int groups;
  int step;
};

class BillboardStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(BillboardStep, IsTheWholeBarDividedByTheGroups) {
  EXPECT_EQ(CBillboardManager::StepForGroupCount(GetParam().groups), GetParam().step);
}

// Three groups end at 99 before the end of the run; none gives no step.
INSTANTIATE_TEST_SUITE_P(Groups, BillboardStep,
                         ::testing::Values(StepCase{4, 25}, StepCase{3, 33}, StepCase{1, 100}, StepCase{0, -1},
                                           StepCase{-2, -1}),
                         [](const ::testing::TestParamInfo<StepCase>& info) {
                           return "Groups" + std::to_string(info.index);
                         });

TEST(BillboardStates, AGroupsResultSelectsItsLinesIcon) {
  struct Case {
    int result;
    int state;
    const wchar_t* image;
  };
  const Case cases[] = {{0, ui::kBillboardWasInstalled, L"WasInstalled"},
                        {1, ui::kBillboardFailed, L"FailedInstallation"},
                        {2, ui::kBillboardWarning, L"ExclamationIcon"},
                        {3, ui::kBillboardInformation, L"Information"},
                        {7, ui::kBillboardWasInstalled, L"WasInstalled"}};
  for (const Case& c : cases) {
    const int state = CBillboardManager::StateForGroupResult(c.result);
    EXPECT_EQ(state, c.state) << c.result;
    EXPECT_STREQ(ui::CBillboardListBox_BT::StateImageName(state), c.image) << c.result;
  }
  EXPECT_STREQ(ui::CBillboardListBox_BT::StateImageName(ui::kBillboardWillBeInstalled), L"WillBeInstalled");
  EXPECT_STREQ(ui::CBillboardListBox_BT::StateImageName(ui::kBillboardBeingInstalled), L"BeingInstalled");
  EXPECT_STREQ(ui::CBillboardListBox_BT::StateImageName(6), L"");
}

}  // namespace
