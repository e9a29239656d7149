#include "engine/ExeInstaller.h"

#include "config/IProductAttributes.h"
#include "config/ISetupConfigData.h"
#include "engine/CommonUtility.h"
#include "engine/ProductExitCodes.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "msi/IMSIManager.h"
#include "platform/MessagePump.h"
#include "platform/Process.h"
#include "platform/StringUtil.h"

namespace {

constexpr DWORD kChildCreationFlags = CREATE_NO_WINDOW | CREATE_PRESERVE_CODE_AUTHZ_LEVEL;
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr DWORD kProgressEndWaitMs = 5000;

// Waits for a worker of ours (its end, or a thread) pumping messages; false
// on time-out. A failed wait on our own handle means a broken state: wait
// plainly rather than spin.
bool WaitForWorker(HANDLE worker, DWORD timeoutMs) {
  const DWORD wait = platform::WaitPumpingMessages(worker, timeoutMs);
  if (wait == WAIT_OBJECT_0) return true;
  if (wait == WAIT_TIMEOUT) return false;
  return ::WaitForSingleObject(worker, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace

CExeInstaller::CExeInstaller(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : CSetupInstallerBase(record, dispatcher),
      eventMapper_(dispatcher != nullptr ? dispatcher->GetEventMapper() : nullptr) {}

CExeInstaller::~CExeInstaller() = default;

std::wstring CExeInstaller::BuildProcessCommandLine(const std::wstring& location, const std::wstring& commandLine) {
  if (location.empty()) return platform::Trim(commandLine);
  return platform::Trim(L"\"" + location + L"\" " + commandLine);
}

DWORD CExeInstaller::ApplyFailureExitCodes(const std::wstring& failureExitCodes, DWORD code) {
  if (failureExitCodes.empty() || code == 0) return code;
  for (const std::wstring& rawPart : platform::Split(failureExitCodes, L",")) {
    std::wstring part = platform::Trim(rawPart);
    size_t marker = part.find(L"<>");
    if (marker == std::wstring::npos) continue;
    if (static_cast<DWORD>(platform::ToInt(part.substr(marker + 2))) == code) return 0;
  }
  return code;
}

DWORD CExeInstaller::Execute(IProductAttributes& product, const std::wstring& commandLine) {
  std::wstring location = product.GetLocation();
  if (!location.empty()) {
    CCommonUtility::ResolvePath(record_, location, true);
    platform::ReplaceAll(location, L"\"", L"");
  }
  std::wstring arguments = commandLine;
  ResolvePropertyReferences(record_.GetInstallProperties(), arguments);
  CCommonUtility::ResolvePath(record_, arguments, false);
  processCommandLine_ = BuildProcessCommandLine(location, arguments);

  int configuredTimeOut = product.GetTimeOut();
  timeOut_ = configuredTimeOut == -1 ? INFINITE : static_cast<DWORD>(configuredTimeOut) * 1000;
  processExitCode_ = 0;

  HANDLE progressThread = nullptr;
  if (eventMapper_ != nullptr) {
    // An unset progress time-out (-1) leaves the duration to the progress manager.
    int progressSeconds = product.GetProgressTimeOut();
    eventMapper_->StartProgressManager(progressThread,
                                       progressSeconds > 0 ? static_cast<DWORD>(progressSeconds) * 1000 : 0);
    if (progressThread == nullptr) {
      LogError(L"Unable to create progress manager thread.");
      return kExitProgressThreadFailed;
    }
  }

  worker_ = platform::SharedTaskThread().Run(&CExeInstaller::ThreadProcedureToInstall, this);
  DWORD code = kExitNotStarted;
  if (!worker_) {
    LogError(L"Unable to start the installation thread of the product %s", product.GetProductName().c_str());
    if (eventMapper_ != nullptr) eventMapper_->StopProgressManager();
  } else {
    if (WaitForWorker(worker_.Done(), timeOut_)) {
      LogInformation(L"Execution of the product,%s is completed", product.GetProductName().c_str());
    } else {
      LogInformation(L"Execution of the product,%s failed due to TIMED OUT", product.GetProductName().c_str());
      // The worker ends the child on its own time-out right after this one;
      // its code is only known once it has finished.
      (void)WaitForWorker(worker_.Done(), INFINITE);
    }
    // The worker's result stands for the thread exit code it used to end
    // with, 259 included (a child may well exit with it).
    DWORD threadCode = worker_.Result();
    if (threadCode == kExitStillActive) {
      LogInformation(L"Thread function has finished.. Thread state is active");
      threadCode = 0;
    }
    code = threadCode;
    worker_ = platform::CTask();
    // Stopped here, not by the worker: the mapper is the user interface's and
    // the worker only reports. The bar shows its end before the product's
    // result is reported; bounded, because the bar is never worth a hang.
    if (eventMapper_ != nullptr) eventMapper_->StopProgressManager();
    if (progressThread != nullptr) (void)WaitForWorker(progressThread, kProgressEndWaitMs);
  }

  code = ApplyFailureExitCodes(product.GetFailureExitCode(), code);

  std::wstring description;
  if (product.IsWarningExitCode(static_cast<int>(code))) {
    description = platform::Format(L" There were warnings while installing %s", product.GetProductName().c_str());
  } else if (product.IsInformationalExitCode(static_cast<int>(code))) {
    description = platform::Format(L" There are information while installing %s", product.GetProductName().c_str());
  } else {
    description = CCommonUtility::GetErrorMessageText(code, kEnglish);
  }
  LogAdditionalInfo(code);
  LogStatusBlock(processExitCode_, code, description);
  return code;
}

DWORD WINAPI CExeInstaller::ThreadProcedureToInstall(void* installer) {
  if (installer == nullptr) {
    LogDebug(L"CExeInstaller pointer is NULL.");
    return kExitNotStarted;
  }
  return static_cast<CExeInstaller*>(installer)->RunChildProcess();
}

DWORD CExeInstaller::RunChildProcess() {
  if (eventMapper_ == nullptr) {
    LogDebug(L"pEventMapper is NULL.");
    return kExitNotStarted;
  }
  DWORD threadCode = 0;
  platform::ProcessOptions options;
  options.creationFlags = kChildCreationFlags;
  options.showWindow = SW_SHOWNA;
  // The command line starts with the quoted location (BuildProcessCommandLine)
  // or is the bundle author's whole command line when no location is given.
  platform::UniqueHandle process = platform::StartCommandLine(processCommandLine_, options);
  if (!process) {
    LogWarning(L"CreateProcess failed.Check the path of the EXE");
    threadCode = kExitNotStarted;
  }

  DWORD exitCode = 0;
  const DWORD wait = process ? platform::WaitForExit(process.Get(), timeOut_, exitCode) : WAIT_FAILED;
  if (wait == WAIT_OBJECT_0) {
    processExitCode_ = exitCode;
    if (exitCode == 0) {
      LogInformation(L"Successfully installed the product");
    } else {
      LogWarning(L"Failed to install the product");
    }
    threadCode = exitCode;
  } else if (wait == WAIT_TIMEOUT) {
    LogWarning(L"Failed to install the product. Timed out");
    ::GetExitCodeProcess(process.Get(), &exitCode);
    processExitCode_ = exitCode;
    LogWarning(L"Going to terminate the process");
    ::TerminateProcess(process.Get(), kExitTimedOut);
    // The child is gone before the product counts as finished.
    ::WaitForSingleObject(process.Get(), INFINITE);
    threadCode = kExitTimedOut;
  } else {
    DWORD error = process ? ::GetLastError() : ERROR_INVALID_HANDLE;
    // Deliberate text (trailing blanks, the blank before the colon): kept as written.
    LogError(L"ThreadProcedureToInstall - wait failed. ");
    LogInformation(L"ThreadProcedureToInstall - default. ");
    LogError(L"ThreadProcedureToInstall error : The reason is " +
             CCommonUtility::GetErrorMessageText(error, kEnglish));
  }
  return threadCode;
}

void CExeInstaller::LogStatusBlock(DWORD processExitCode, DWORD code, const std::wstring& description) const {
  // Deliberate text (the status block below, its blanks and tabs included): kept as written.
  long shownTimeOut = timeOut_ == INFINITE ? -1L : static_cast<long>(timeOut_);
  // The child got the real values; the log shows the hidden ones masked.
  std::wstring shownCommand = processCommandLine_;
  if (IMSIManager* manager = dispatcher_ != nullptr ? dispatcher_->GetMSIManager() : nullptr) {
    manager->MaskHiddenProperties(shownCommand);
  }
  LogUserLine(platform::Format(
      L"\n\t\t\t%s \n\t\t\t Configured Time out: %ld \n\t\t\t SetupCommand       : %s \n\t\t\t Process Exit Code  : "
      L"%d \n\t\t\t Error Code         : %d \n\t\t\t Error Desc         : %s\n\t\t\t%s",
      kStatusSeparator, shownTimeOut, shownCommand.c_str(), static_cast<int>(processExitCode),
      static_cast<int>(code), description.c_str(), kStatusSeparator));
}
