// The installer message handler fed message texts as Windows Installer sends them.

#include <gtest/gtest.h>

#include <windows.h>

#include "RecordingEventDispatcher.h"
#include "msi/HiddenPropertyMask.h"
#include "msi/MsiEntryPoints.h"
#include "msi/MsiMessageHandler.h"
#include "platform/MessagePump.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace enginetest {
namespace {

constexpr UINT kType(UINT type) { return type << 24; }

class MsiMessageHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { handler_.Bind(&dispatcher_); }
  int Send(UINT type, const std::wstring& text) { return handler_.HandleMessage(kType(type), text); }
  RecordingEventDispatcher dispatcher_;
  CMsiMessageHandler handler_;
};

TEST_F(MsiMessageHandlerTest, ResetAndReportsMoveTheBarForwardAndBackward) {
  EXPECT_EQ(Send(10, L"1: 0 2: 100 3: 0 4: 0 "), IDOK);
  EXPECT_EQ(Send(10, L"1: 2 2: 30 "), IDOK);
  EXPECT_EQ(dispatcher_.Mapper().GetBar().maximum, 100);
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 30);
  Send(10, L"1: 0 2: 50 3: 1 4: 0 ");  // backward
  Send(10, L"1: 2 2: 20 ");
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 30);
  Send(10, L"garbage");
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 30);
}

// Field 4 of an action-info message is the one left by the last reset.
TEST_F(MsiMessageHandlerTest, ActionInfoSwitchesActionDataStepping) {
  Send(10, L"1: 0 2: 100 3: 0 4: 1 ");
  Send(10, L"1: 1 2: 10 3: 1 ");
  Send(9, L"File: a.txt");
  Send(9, L"File: b.txt");
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 20);
  Send(10, L"1: 1 2: 10 3: 0 ");
  Send(9, L"File: c.txt");
  EXPECT_EQ(dispatcher_.Mapper().GetBar().position, 20);
}

TEST_F(MsiMessageHandlerTest, ActionStartSetsTheDescriptionAndRollbackDisablesCancel) {
  EXPECT_EQ(Send(8, L"Action 12:01:02: InstallFiles. Copying new files"), 1);
  EXPECT_EQ(dispatcher_.Log().Starting(L"SetActionText("),
            std::vector<std::wstring>{L"SetActionText(Copying new files)"});
  Send(8, L"Action 12:01:03: Rollback. Rolling back action:");
  EXPECT_EQ(dispatcher_.Log().Starting(L"EnableCancel("), std::vector<std::wstring>{L"EnableCancel(0)"});
}

TEST_F(MsiMessageHandlerTest, CancelIsAnsweredAtTheNextProgressMessageExceptDuringRollbackCleanup) {
  Send(8, L"Action 12:01:02: RollbackCleanup. Removing backup files");
  handler_.Cancel();
  EXPECT_EQ(Send(10, L"1: 2 2: 1 "), IDOK);
  Send(8, L"Action 12:01:03: InstallFiles. Copying new files");
  handler_.Cancel();
  EXPECT_EQ(Send(10, L"1: 2 2: 1 "), IDCANCEL);
  EXPECT_EQ(Send(10, L"1: 2 2: 1 "), IDOK);  // the request is used up
}

TEST_F(MsiMessageHandlerTest, ErrorsGoToTheErrorDialogAndFilesInUseToItsDialog) {
  dispatcher_.ScriptErrorAnswers({IDRETRY});
  EXPECT_EQ(handler_.HandleMessage(kType(1) | MB_RETRYCANCEL | MB_ICONWARNING, L"Disk full"), IDRETRY);
  EXPECT_EQ(dispatcher_.Log().Starting(L"ShowErrorDialog("), std::vector<std::wstring>{L"ShowErrorDialog(Disk full,0x35)"});
  EXPECT_EQ(Send(5, L"app.exe"), IDOK);
  EXPECT_EQ(Send(6, L"source"), 0);
  EXPECT_EQ(Send(7, L"disk"), 1);
  EXPECT_EQ(Send(1, L""), 0);
}

TEST_F(MsiMessageHandlerTest, WelcomeDialogIsCapturedOnlyInCaptureMode) {
  EXPECT_EQ(Send(14, L"WelcomeDlg"), 1);
  EXPECT_EQ(handler_.GetCapturedDialog(), L"");
  handler_.SetCapture(true);
  EXPECT_EQ(Send(14, L"PrepareDlg"), 1);
  EXPECT_EQ(Send(14, L"WelcomeDlg"), 2);
  EXPECT_EQ(handler_.GetCapturedDialog(), L"WelcomeDlg");
}

TEST(MsiMessageHandlerUnboundTest, AnswersNothingWithoutADispatcher) {
  CMsiMessageHandler handler;
  EXPECT_EQ(handler.HandleMessage(kType(10), L"1: 2 2: 1 "), 0);
  EXPECT_EQ(handler.HandleRecordMessage(kType(5), 1), -1);
}

// Opens the main test package and runs one action on it, on a thread of its
// own: the action's messages reach the handler from that thread.
DWORD WINAPI RunActionElsewhere(void*) {
  MSIHANDLE raw = 0;
  if (MsiOpenPackageStub((testsupport::PackageFolder() + L"SetupMainV1.msi").c_str(), &raw) != ERROR_SUCCESS) return 1;
  platform::UniqueMsiHandle package(raw);
  return MsiDoActionStub(package.Get(), L"CostInitialize") == ERROR_SUCCESS ? 0 : 2;
}

TEST(MsiMessageRelayTest, CallsFromAnotherThreadAreHandedOverOnlyOnceTheHandlersAreRegistered) {
  LoadMsiLibrary();
  RecordingEventDispatcher dispatcher;
  // Another handler's registration leaves the callbacks set in Windows
  // Installer; a new handler is their target as soon as it exists.
  {
    CMsiMessageHandler earlier;
    earlier.RegisterMessageHandlers(0);
  }
  CMsiMessageHandler handler;
  handler.Bind(&dispatcher);
  handler.PrepareRelay();

  // Not registered yet: the thread may wait without pumping (for the package
  // opened ahead), so the calls are answered on the calling thread.
  platform::UniqueHandle first(::CreateThread(nullptr, 0, &RunActionElsewhere, nullptr, 0, nullptr));
  ASSERT_TRUE(first);
  const DWORD plainWait = ::WaitForSingleObject(first.Get(), 20000);
  if (plainWait != WAIT_OBJECT_0) (void)platform::WaitPumpingMessages(first.Get(), INFINITE);
  ASSERT_EQ(plainWait, static_cast<DWORD>(WAIT_OBJECT_0)) << "a call was handed to a thread that did not pump";
  DWORD code = 99;
  ASSERT_TRUE(::GetExitCodeThread(first.Get(), &code));
  EXPECT_EQ(code, 0u);
  const size_t answeredThere = dispatcher.Log().OffThreadCalls().size();
  EXPECT_GT(answeredThere, 0u);

  // Registered: calls from another thread wait for this one, which pumps.
  handler.RegisterMessageHandlers(0);
  platform::UniqueHandle second(::CreateThread(nullptr, 0, &RunActionElsewhere, nullptr, 0, nullptr));
  ASSERT_TRUE(second);
  EXPECT_EQ(::WaitForSingleObject(second.Get(), 2000), static_cast<DWORD>(WAIT_TIMEOUT));
  ASSERT_EQ(platform::WaitPumpingMessages(second.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(dispatcher.Log().OffThreadCalls().size(), answeredThere);
  EXPECT_GT(dispatcher.Log().Starting(L"SetActionText(").size(), 1u);

  (void)MsiSetExternalUIStub(nullptr, 0, nullptr);
  (void)MsiSetExternalUIRecordStub(nullptr, 0, nullptr, nullptr);
}

TEST(HiddenPropertyMaskTest, MasksEveryHiddenValueAndLeavesOthers) {
  std::wstring text = L"PASSWORD=\"abc123\" COPY=\"abc123\" USER=\"bob\" TOKEN=\"abc\"";
  MaskHiddenPropertyValues(text, {L"PASSWORD", L"TOKEN", L"EMPTY"},
                           {{L"PASSWORD", L"abc123"}, {L"TOKEN", L"abc"}, {L"USER", L"bob"}, {L"EMPTY", L""}});
  EXPECT_EQ(text, L"PASSWORD=\"*****\" COPY=\"*****\" USER=\"bob\" TOKEN=\"*****\"");
}

}  // namespace
}  // namespace enginetest
