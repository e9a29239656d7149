// What a click runs: the order of a control's published events and how their
// arguments are filled in.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/events/EventPlan.h"

namespace {

WixPublish Event(const wchar_t* name, const wchar_t* argument, const wchar_t* condition) {
  WixPublish event;
  event.event = name;
  event.argument = argument;
  event.condition = condition;
  return event;
}

// Conditions are property names here: true when the map says so; "" and "1" always hold.
std::vector<std::wstring> Plan(const std::vector<WixPublish>& events, const std::map<std::wstring, bool>& truth) {
  auto holds = [&truth](const std::wstring& condition) {
    if (condition.empty() || condition == L"1") return true;
    auto found = truth.find(condition);
    return found != truth.end() && found->second;
  };
  std::vector<std::wstring> names;
  ui::RunPublishedEvents(events, holds,
                         [&names](const WixPublish& event) { names.push_back(event.event + L" " + event.argument); });
  return names;
}

TEST(EventPlan, DialogChangesRunLastAndOnlyTheLastTrueOne) {
  const std::vector<WixPublish> events = {Event(L"NewDialog", L"A", L"FalseCond"), Event(L"NewDialog", L"B", L"1"),
                                          Event(L"DoAction", L"X", L"TrueCond")};
  EXPECT_EQ(Plan(events, {{L"TrueCond", true}}), (std::vector<std::wstring>{L"DoAction X", L"NewDialog B"}));
}

TEST(EventPlan, OfTwoTrueDialogChangesTheOneAuthoredLastRuns) {
  const std::vector<WixPublish> events = {Event(L"NewDialog", L"First", L"1"), Event(L"spawndialog", L"Second", L"1")};
  EXPECT_EQ(Plan(events, {}), (std::vector<std::wstring>{L"spawndialog Second"}));
}

TEST(EventPlan, AnEventWithoutConditionRunsAsWindowsInstallerDoes) {
  const std::vector<WixPublish> events = {Event(L"EndDialog", L"Return", L""), Event(L"[WIXUI_X]", L"1", L"Nope")};
  EXPECT_EQ(Plan(events, {}), (std::vector<std::wstring>{L"EndDialog Return"}));
}

// InstallDirDlg's Next: the folder check sets WIXUI_INSTALLDIR_VALID, which
// the following events test.
TEST(EventPlan, EachConditionSeesWhatTheEventsBeforeItDid) {
  std::map<std::wstring, bool> truth = {{L"Valid", false}};
  auto holds = [&truth](const std::wstring& condition) {
    if (condition.empty() || condition == L"1") return true;
    return truth[condition];
  };
  const std::vector<WixPublish> events = {Event(L"DoAction", L"WixUIValidatePath", L"1"),
                                          Event(L"SpawnDialog", L"InvalidDirDlg", L"NotValid"),
                                          Event(L"NewDialog", L"VerifyReadyDlg", L"Valid")};
  std::vector<std::wstring> names;
  ui::RunPublishedEvents(events, [&](const std::wstring& c) { return c == L"NotValid" ? !truth[L"Valid"] : holds(c); },
                         [&](const WixPublish& event) {
                           names.push_back(event.argument);
                           if (event.argument == L"WixUIValidatePath") truth[L"Valid"] = true;
                         });
  EXPECT_EQ(names, (std::vector<std::wstring>{L"WixUIValidatePath", L"VerifyReadyDlg"}));
}

TEST(EventPlan, NoDialogChangeRunsWhenNoneHolds) {
  const std::vector<WixPublish> events = {Event(L"NewDialog", L"A", L"No"), Event(L"NewDialog", L"B", L"AlsoNo")};
  EXPECT_TRUE(Plan(events, {}).empty());
}

struct ArgumentCase {
  const char* name;
  const wchar_t* argument;
  const wchar_t* expected;
};

class EventArgument : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(EventArgument, IsFilledFromProperties) {
  const std::map<std::wstring, std::wstring> properties = {
      {L"TARGETDIR", L"C:\\Target\\"}, {L"ALLUSERS", L"1"}, {L"Empty", L""}};
  auto lookup = [&properties](const std::wstring& name) {
    auto found = properties.find(name);
    return found == properties.end() ? std::wstring() : found->second;
  };
  EXPECT_EQ(ui::ResolveEventArgument(GetParam().argument, lookup), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventArgument,
    ::testing::Values(ArgumentCase{"WholeReference", L"[TARGETDIR]", L"C:\\Target\\"},
                      ArgumentCase{"ReferenceInsideText", L"[TARGETDIR]Sub", L"C:\\Target\\Sub"},
                      ArgumentCase{"TwoReferences", L"[ALLUSERS]-[TARGETDIR]", L"1-C:\\Target\\"},
                      ArgumentCase{"UnknownPropertyIsEmpty", L"a[Unknown]b", L"ab"},
                      ArgumentCase{"EmptyBraces", L"{}", L""},
                      ArgumentCase{"PlainText", L"WelcomeDlg", L"WelcomeDlg"},
                      ArgumentCase{"NotAPropertyNameStays", L"[\\[]x", L"[\\[]x"},
                      ArgumentCase{"UnclosedBracketStays", L"[TARGETDIR", L"[TARGETDIR"}),
    [](const ::testing::TestParamInfo<ArgumentCase>& info) { return std::string(info.param.name); });

}  // namespace
