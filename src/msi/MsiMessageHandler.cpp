#include "msi/MsiMessageHandler.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "msi/IMSIManager.h"
#include "msi/MsiQuery.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"

namespace {

// The handler the installer's callbacks reach.
std::atomic<CMsiMessageHandler*> g_currentHandler{nullptr};

constexpr DWORD kFilesInUseFilter = INSTALLLOGMODE_FILESINUSE;
// Every message kind from fatal exit up to show-dialog.
constexpr DWORD kAllMessagesFilter = (static_cast<DWORD>(INSTALLLOGMODE_SHOWDIALOG) << 1) - 1;
wchar_t g_callbackContext[] = L"TEST";

constexpr UINT kFatalExit = static_cast<UINT>(INSTALLMESSAGE_FATALEXIT) >> 24;
constexpr UINT kError = static_cast<UINT>(INSTALLMESSAGE_ERROR) >> 24;
constexpr UINT kWarning = static_cast<UINT>(INSTALLMESSAGE_WARNING) >> 24;
constexpr UINT kUser = static_cast<UINT>(INSTALLMESSAGE_USER) >> 24;
constexpr UINT kInfo = static_cast<UINT>(INSTALLMESSAGE_INFO) >> 24;
constexpr UINT kFilesInUse = static_cast<UINT>(INSTALLMESSAGE_FILESINUSE) >> 24;
constexpr UINT kResolveSource = static_cast<UINT>(INSTALLMESSAGE_RESOLVESOURCE) >> 24;
constexpr UINT kOutOfDiskSpace = static_cast<UINT>(INSTALLMESSAGE_OUTOFDISKSPACE) >> 24;
constexpr UINT kActionStart = static_cast<UINT>(INSTALLMESSAGE_ACTIONSTART) >> 24;
constexpr UINT kActionData = static_cast<UINT>(INSTALLMESSAGE_ACTIONDATA) >> 24;
constexpr UINT kProgress = static_cast<UINT>(INSTALLMESSAGE_PROGRESS) >> 24;
constexpr UINT kCommonData = static_cast<UINT>(INSTALLMESSAGE_COMMONDATA) >> 24;
constexpr UINT kInitialize = static_cast<UINT>(INSTALLMESSAGE_INITIALIZE) >> 24;
constexpr UINT kTerminate = static_cast<UINT>(INSTALLMESSAGE_TERMINATE) >> 24;
constexpr UINT kShowDialog = static_cast<UINT>(INSTALLMESSAGE_SHOWDIALOG) >> 24;

// Reads "N: value" fields in order; stops at the first field that does not follow the pattern.
int ReadProgressFields(const std::wstring& text, int (&values)[4], int wanted) {
  size_t at = 0;
  int read = 0;
  for (int field = 1; field <= wanted; ++field) {
    while (at < text.size() && text[at] == L' ') ++at;
    std::wstring label = std::to_wstring(field) + L": ";
    if (text.compare(at, label.size(), label) != 0) break;
    at += label.size();
    size_t end = at;
    if (end < text.size() && text[end] == L'-') ++end;
    while (end < text.size() && iswdigit(text[end])) ++end;
    if (end == at) break;
    values[field - 1] = platform::ToInt(text.substr(at, end - at));
    at = end;
    ++read;
    if (field == 1) {
      // How many fields this kind of message carries.
      wanted = values[0] == 0 ? 4 : values[0] == 1 ? 3 : 2;
    }
  }
  return read;
}

}  // namespace

CMsiMessageHandler::CMsiMessageHandler() { g_currentHandler = this; }

CMsiMessageHandler::~CMsiMessageHandler() {
  CMsiMessageHandler* self = this;
  g_currentHandler.compare_exchange_strong(self, nullptr);
}

void CMsiMessageHandler::Bind(IEventDispatcher* dispatcher) {
  dispatcher_ = dispatcher;
  mapper_ = dispatcher != nullptr ? dispatcher->GetEventMapper() : nullptr;
}

struct CMsiMessageHandler::Relayed {
  bool record = false;
  UINT messageType = 0;
  std::wstring text;
  MSIHANDLE recordHandle = 0;
  int result = 0;
};

namespace {
constexpr wchar_t kRelayClassName[] = L"SetupMsiMessageRelay";
constexpr UINT kRelayMessage = WM_APP + 0x71;
}  // namespace

LRESULT CALLBACK CMsiMessageHandler::RelayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRelayMessage) {
    auto* handler = reinterpret_cast<CMsiMessageHandler*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    auto* call = reinterpret_cast<Relayed*>(lParam);
    if (handler != nullptr && call != nullptr) {
      call->result = call->record ? handler->HandleRecordMessage(call->messageType, call->recordHandle)
                                  : handler->HandleMessage(call->messageType, call->text);
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool CMsiMessageHandler::RelayToOwnerThread(Relayed& call) {
  if (ownerThread_ == 0 || ::GetCurrentThreadId() == ownerThread_ || !relay_) return false;
  DWORD_PTR ignored = 0;
  // The owner thread pumps while Windows Installer waits for the custom action.
  return ::SendMessageTimeoutW(relay_.Get(), kRelayMessage, 0, reinterpret_cast<LPARAM>(&call), SMTO_NORMAL,
                               INFINITE, &ignored) != 0;
}

void CMsiMessageHandler::RegisterMessageHandlers(MSIHANDLE) {
  g_currentHandler = this;
  PrepareRelay();
  // Calls are handed over only from here on: until the handlers are
  // registered, the window's thread may be waiting without pumping (for the
  // package opened ahead, which may call in meanwhile).
  if (relay_) ownerThread_ = ::GetWindowThreadProcessId(relay_.Get(), nullptr);
  if (MsiSetExternalUIRecordStub(&CMsiMessageHandler::RecordCallback, kFilesInUseFilter, g_callbackContext,
                                 nullptr) != ERROR_SUCCESS) {
    // Deliberate text (no blank after the full stop): kept as written.
    LogWarning(L"Failed to set the external UI handler using MsiSetExternalUIRecord.FilesInUse dialog may not "
               L"work properly");
  }
  MsiSetExternalUIStub(&CMsiMessageHandler::StringCallback, kAllMessagesFilter, g_callbackContext);
}

void CMsiMessageHandler::PrepareRelay() {
  if (!relay_) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CMsiMessageHandler::RelayWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kRelayClassName;
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(windowClass.hInstance, kRelayClassName, &existing) || ::RegisterClassExW(&windowClass)) {
      relay_.Reset(::CreateWindowExW(0, kRelayClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     windowClass.hInstance, nullptr));
    }
    if (relay_) {
      ::SetWindowLongPtrW(relay_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    } else {
      LogDebug(L"The installer message relay window could not be created (error %lu).", ::GetLastError());
    }
  }
}

void CMsiMessageHandler::Cancel() {
  if (!rollbackCleanup_) cancelRequested_ = true;
}

int WINAPI CMsiMessageHandler::StringCallback(LPVOID, UINT messageType, LPCWSTR message) {
  CMsiMessageHandler* handler = g_currentHandler;
  if (handler == nullptr) return 0;
  Relayed call;
  call.messageType = messageType;
  call.text = message != nullptr ? message : L"";
  if (handler->RelayToOwnerThread(call)) return call.result;
  return handler->HandleMessage(messageType, call.text);
}

int WINAPI CMsiMessageHandler::RecordCallback(LPVOID, UINT messageType, MSIHANDLE record) {
  CMsiMessageHandler* handler = g_currentHandler;
  if (handler == nullptr) return 0;
  Relayed call;
  call.record = true;
  call.messageType = messageType;
  call.recordHandle = record;
  if (handler->RelayToOwnerThread(call)) return call.result;
  return handler->HandleRecordMessage(messageType, record);
}

int CMsiMessageHandler::HandleMessage(UINT messageType, const std::wstring& text) {
  if (dispatcher_ == nullptr || mapper_ == nullptr) return 0;
  if (firstMessage_ && !capture_) {
    MsiSetInternalUIStub(INSTALLUILEVEL_BASIC, nullptr);
    firstMessage_ = false;
  }
  if (text.empty()) return 0;
  const UINT type = (messageType & 0xFF000000) >> 24;
  const UINT flags = messageType & 0x00FFFFFF;
  switch (type) {
    case kFatalExit:
    case kError:
    case kWarning:
    case kUser:
      ::MessageBeep(flags & 0xF0);
      return dispatcher_->ShowErrorDialog(text, flags);
    case kInfo: {
      // Property values reach the log through these lines too.
      std::wstring line = text;
      if (IMSIManager* manager = dispatcher_->GetMSIManager()) manager->MaskHiddenProperties(line);
      LogInformation(L"%s", line.c_str());
      return 1;
    }
    case kFilesInUse:
      return dispatcher_->ShowFilesInUseDialog(text);
    case kResolveSource:
      return 0;
    case kOutOfDiskSpace:
      return 1;
    case kActionStart:
      // While the first page is looked for nothing may be installed: should
      // the sequence reach the installation, it is stopped here.
      if (capture_ && text.find(L"ExecuteAction.") != std::wstring::npos) {
        LogWarning(L"The user interface sequence reached the installation before showing a page; it is stopped.");
        return 2;
      }
      HandleActionStart(text);
      LogDebug(L"Executing the custom action : %s", text.c_str());
      return 1;
    case kActionData: {
      // What the action works on (a file, a key) shows under the action's
      // text during the run too, not only while the first page is looked for.
      const std::wstring data = platform::Trim(text);
      if (!data.empty()) mapper_->SetActionData(data);
      if (total_ != 0 && actionDataStepping_) mapper_->StepProgress();
      // A long action may report only its data (a custom action waiting on
      // something): the user's Cancel is answered here too, not only on the
      // next progress tick that may never come.
      if (cancelRequested_) {
        cancelRequested_ = false;
        return IDCANCEL;
      }
      return 1;
    }
    case kProgress:
      return HandleProgress(text);
    case kCommonData:
    case kInitialize:
    case kTerminate:
      return 1;
    case kShowDialog:
      if (!capture_) return 1;
      // Pages shown while the sequence goes on (costing, progress) are let
      // through; the first dialog that waits for the user is the wizard's
      // first page, whatever the sources call it (WelcomeDlg, WelcomeEulaDlg,
      // AdvancedWelcomeEulaDlg, ...). Answering it as shown would let the
      // sequence run on into the installation.
      if (text == L"PrepareDlg" || text == L"ProgressDlg" || text == L"WaitForCostingDlg") return 1;
      capturedDialog_ = text;
      return 2;
    default:
      return 0;
  }
}

void CMsiMessageHandler::HandleActionStart(const std::wstring& text) {
  size_t dot = text.find(L'.');
  std::wstring description = dot == std::wstring::npos ? std::wstring() : platform::Trim(text.substr(dot + 1));
  size_t colon = std::wstring::npos;
  size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    colon = text.find(L':', from);
    if (colon == std::wstring::npos) break;
    from = colon + 1;
  }
  std::wstring name;
  if (colon != std::wstring::npos) {
    size_t nameEnd = text.find(L'.', colon + 1);
    name = platform::Trim(text.substr(colon + 1, nameEnd == std::wstring::npos ? std::wstring::npos
                                                                               : nameEnd - colon - 1));
  }
  rollbackCleanup_ = name == L"RollbackCleanup";
  if (name == L"Rollback") mapper_->EnableCancel(false);
  // Packages without an ActionText table send no description: the page
  // then names the action itself, so it still says what is being done.
  if (!description.empty()) {
    mapper_->SetActionText(description);
  } else if (!name.empty()) {
    mapper_->SetActionText(name);
  }
}

int CMsiMessageHandler::HandleProgress(const std::wstring& text) {
  int values[4] = {fields_[0], fields_[1], fields_[2], fields_[3]};
  if (ReadProgressFields(text, values, 1) > 0) {
    std::copy(values, values + 4, fields_);
    switch (fields_[0]) {
      case 0: {
        total_ = fields_[1];
        forward_ = fields_[2] == 0;
        int start = forward_ ? 0 : total_;
        mapper_->SetProgressRange(0, total_);
        position_ = scriptInProgress_ ? total_ : start;
        mapper_->SetProgressPos(position_);
        ticksSoFar_ = 0;
        scriptInProgress_ = fields_[3] == 1;
        break;
      }
      case 1:
        if (fields_[2] != 0 && fields_[3] != 0) {
          mapper_->SetProgressStep(forward_ ? fields_[1] : -fields_[1]);
          actionDataStepping_ = true;
        } else {
          actionDataStepping_ = false;
        }
        break;
      case 2:
        if (total_ != 0) {
          ticksSoFar_ += fields_[1];
          position_ = forward_ ? ticksSoFar_ : total_ - ticksSoFar_;
          // Installers may report a few ticks more than announced; the bar ends at its range.
          position_ = std::max(0, std::min(position_, total_));
          mapper_->SetProgressPos(position_);
        }
        break;
      default:
        break;
    }
  }
  if (cancelRequested_) {
    cancelRequested_ = false;
    return IDCANCEL;
  }
  return IDOK;
}

int CMsiMessageHandler::HandleRecordMessage(UINT messageType, MSIHANDLE record) {
  const UINT type = (messageType & 0xFF000000) >> 24;
  if (type != kFilesInUse || record == 0) return 1;
  if (dispatcher_ == nullptr) return -1;
  UINT count = MsiRecordGetFieldCountStub(record);
  std::wstring list;
  for (UINT field = 1; field + 1 <= count; field += 2) {
    std::wstring process = ReadRecordString(record, field);
    if (process.empty()) continue;
    // Deliberate text (the list layout, the dialog shows it as built): kept as written.
    list += ReadRecordString(record, field + 1) + L"  ( " + process + L".exe ) ";
  }
  return dispatcher_->ShowFilesInUseDialog(list);
}
