#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CommandLineInfo.h"

namespace {

struct SplitCase {
  const char* name;
  const wchar_t* commandLine;
  std::vector<std::wstring> expected;  // arguments after the program name
};

class CommandLineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, FollowsTheRuntimeRules) {
  std::vector<std::wstring> args = platform::SplitCommandLine(GetParam().commandLine);
  ASSERT_FALSE(args.empty());
  std::vector<std::wstring> rest(args.begin() + 1, args.end());
  EXPECT_EQ(rest, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineSplit,
    ::testing::Values(SplitCase{"NoArguments", L"Setup.exe", {}},
                      SplitCase{"BlanksAndTabsSeparate", L"Setup.exe /si  /L\t1031", {L"/si", L"/L", L"1031"}},
                      SplitCase{"QuotedProgramName", L"\"C:\\Program Files\\Setup.exe\" /si", {L"/si"}},
                      SplitCase{"BackslashBeforeQuoteEscapesIt",
                                L"Setup.exe INSTALLDIR=\"D:\\My Folder\\\"",
                                {L"INSTALLDIR=D:\\My Folder\""}},
                      SplitCase{"DoubledBackslashBeforeQuote",
                                L"Setup.exe \"INSTALLDIR=D:\\My Folder\\\\\" /si",
                                {L"INSTALLDIR=D:\\My Folder\\", L"/si"}},
                      SplitCase{"OddBackslashesBeforeQuote", L"Setup.exe a\\\\\\\"b", {L"a\\\"b"}},
                      SplitCase{"BackslashesWithoutQuoteStay", L"Setup.exe a\\\\b c", {L"a\\\\b", L"c"}},
                      SplitCase{"EmptyQuotedArgument", L"Setup.exe \"\"", {L""}},
                      SplitCase{"DoubledQuoteInsideQuotes", L"Setup.exe \"say \"\"hi\"\"\"", {L"say \"hi\""}},
                      SplitCase{"EqualsSignsStay", L"Setup.exe X=a=b", {L"X=a=b"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

class RecordingInfo : public platform::CCommandLineInfoBase {
 public:
  struct Call {
    std::wstring token;
    bool isFlag;
    bool isLast;
  };
  void ParseParam(const wchar_t* token, bool isFlag, bool isLast) override { calls.push_back({token, isFlag, isLast}); }
  std::vector<Call> calls;
};

TEST(CommandLineInfo, FlagsLoseTheirLeadingSlashOrDashAndTheLastIsMarked) {
  RecordingInfo info;
  platform::ParseCommandLine(L"Setup.exe /si -NOMUTEX A=1 /", info);
  ASSERT_EQ(info.calls.size(), 4u);
  EXPECT_EQ(info.calls[0].token, L"si");
  EXPECT_TRUE(info.calls[0].isFlag);
  EXPECT_EQ(info.calls[1].token, L"NOMUTEX");
  EXPECT_TRUE(info.calls[1].isFlag);
  EXPECT_EQ(info.calls[2].token, L"A=1");
  EXPECT_FALSE(info.calls[2].isFlag);
  EXPECT_FALSE(info.calls[2].isLast);
  EXPECT_EQ(info.calls[3].token, L"");
  EXPECT_TRUE(info.calls[3].isFlag);
  EXPECT_TRUE(info.calls[3].isLast);
}

}  // namespace
