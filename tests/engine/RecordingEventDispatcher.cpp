#include "RecordingEventDispatcher.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "msi/HiddenPropertyMask.h"
#include "platform/StringUtil.h"

namespace enginetest {

namespace {

std::wstring Name(IProductAttributes* product) { return product != nullptr ? product->GetProductName() : L"-"; }
std::wstring Name(IProductGroup* group) { return group != nullptr ? group->GetDisplayName() : L"-"; }

}  // namespace

CallLog::CallLog() : ownerThread_(::GetCurrentThreadId()) {}

void CallLog::Add(const std::wstring& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(line);
  if (::GetCurrentThreadId() != ownerThread_) offThread_.push_back(line);
}

void CallLog::AddProgress(const std::wstring& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(line);
}

std::vector<std::wstring> CallLog::OffThreadCalls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return offThread_;
}

std::vector<std::wstring> CallLog::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

std::vector<std::wstring> CallLog::Starting(const std::wstring& prefix) const {
  std::vector<std::wstring> result;
  for (const std::wstring& line : Lines()) {
    if (line.rfind(prefix, 0) == 0) result.push_back(line);
  }
  return result;
}

RecordingEventMapper::RecordingEventMapper(CallLog& log) : log_(log) {}
RecordingEventMapper::~RecordingEventMapper() = default;

void RecordingEventMapper::RegisterControl(int kind, HWND) { log_.Add(platform::Format(L"RegisterControl(%d)", kind)); }
int RecordingEventMapper::AttachDialog(HWND) {
  log_.Add(L"AttachDialog");
  return 1;
}
void RecordingEventMapper::SetActionText(const std::wstring& text) { log_.Add(L"SetActionText(" + text + L")"); }
void RecordingEventMapper::SetActionData(const std::wstring& text) { log_.Add(L"SetActionData(" + text + L")"); }

void RecordingEventMapper::SetProgressPos(int position) {
  {
    std::lock_guard<std::mutex> lock(barMutex_);
    bar_.position = position;
  }
  log_.AddProgress(platform::Format(L"SetProgressPos(%d)", position));
  if (onProgressPos) onProgressPos(position);
}

void RecordingEventMapper::SetProgressRange(int minimum, int maximum) {
  {
    std::lock_guard<std::mutex> lock(barMutex_);
    bar_.minimum = minimum;
    bar_.maximum = maximum;
  }
  log_.AddProgress(platform::Format(L"SetProgressRange(%d,%d)", minimum, maximum));
}

void RecordingEventMapper::SetProgressStep(int step) {
  {
    std::lock_guard<std::mutex> lock(barMutex_);
    bar_.step = step;
  }
  log_.AddProgress(platform::Format(L"SetProgressStep(%d)", step));
}

void RecordingEventMapper::StepProgress() {
  int position = 0;
  {
    std::lock_guard<std::mutex> lock(barMutex_);
    bar_.position += bar_.step;
    position = bar_.position;
  }
  log_.AddProgress(platform::Format(L"StepProgress(%d)", position));
}

RecordingEventMapper::Bar RecordingEventMapper::GetBar() const {
  std::lock_guard<std::mutex> lock(barMutex_);
  return bar_;
}

void RecordingEventMapper::OnRun(int phase) { log_.Add(platform::Format(L"OnRun(%d)", phase)); }

void RecordingEventMapper::OnProductGroup(int phase, IProductGroup* group, int result) {
  log_.Add(platform::Format(L"OnProductGroup(%d,%s,%d)", phase, Name(group).c_str(), result));
}

void RecordingEventMapper::OnProduct(int phase, IProductAttributes* product, int value) {
  log_.Add(platform::Format(L"OnProduct(%d,%s,%d)", phase, Name(product).c_str(), value));
  if (onProduct) onProduct(phase, product, value);
}

void RecordingEventMapper::SetProductRebootState(IProductAttributes* product, DWORD exitCode) {
  log_.Add(platform::Format(L"SetProductRebootState(%s,%lu)", Name(product).c_str(), exitCode));
  if (product != nullptr) rebootManager_.SetProductRebootState(product->GetKey(), exitCode);
}

void RecordingEventMapper::SetBillboardManager(CBillboardManager*) { log_.Add(L"SetBillboardManager"); }
void RecordingEventMapper::EnableCancel(bool enable) { log_.Add(platform::Format(L"EnableCancel(%d)", enable ? 1 : 0)); }
void RecordingEventMapper::OnRollback(int phase, int steps) {
  log_.Add(platform::Format(L"OnRollback(%d,%d)", phase, steps));
}
void RecordingEventMapper::OnRollbackGroup(int phase, IProductGroup* group, int flag) {
  log_.Add(platform::Format(L"OnRollbackGroup(%d,%s,%d)", phase, Name(group).c_str(), flag));
}
void RecordingEventMapper::OnRollbackProduct(int phase, IProductAttributes* product, int value) {
  log_.Add(platform::Format(L"OnRollbackProduct(%d,%s,%d)", phase, Name(product).c_str(), value));
}
void RecordingEventMapper::EnableSubscribers(bool enable) {
  log_.Add(platform::Format(L"EnableSubscribers(%d)", enable ? 1 : 0));
}
void RecordingEventMapper::SetSubscriberText(const std::wstring& text) { log_.Add(L"SetSubscriberText(" + text + L")"); }
void RecordingEventMapper::PublishAttribute(int eventNumber, int value, const std::wstring& text) {
  log_.Add(platform::Format(L"PublishAttribute(%d,%d,%s)", eventNumber, value, text.c_str()));
}

void RecordingEventMapper::CreateProgressManager() {
  log_.Add(L"CreateProgressManager");
  if (!progress_) progress_ = std::make_unique<CProgressManager>(*this);
}

void RecordingEventMapper::StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) {
  log_.Add(platform::Format(L"StartProgressManager(%lu)", expectedMilliseconds));
  thread = nullptr;
  if (failProgressStart) return;
  if (!progress_) progress_ = std::make_unique<CProgressManager>(*this);
  thread = progress_->Start(expectedMilliseconds);
}

void RecordingEventMapper::StopProgressManager() {
  log_.Add(L"StopProgressManager");
  if (progress_) progress_->Stop();
}

std::wstring RecordingMsiManager::GetProperty(const std::wstring& name, bool) {
  auto found = properties_.find(name);
  return found != properties_.end() ? found->second : std::wstring();
}

void RecordingMsiManager::SetProperty(const std::wstring& name, const std::wstring& value, bool) {
  log_.Add(L"SetProperty(" + name + L"," + value + L")");
  properties_[name] = value;
}

void RecordingMsiManager::MaskHiddenProperties(std::wstring& text) {
  MaskHiddenPropertyValues(text, hiddenNames_, properties_);
}

RecordingEventDispatcher::RecordingEventDispatcher() : mapper_(log_), msiManager_(log_) {}

void RecordingEventDispatcher::OnControlActivated(CWixControl*) { log_.Add(L"OnControlActivated"); }

int RecordingEventDispatcher::ShowErrorDialog(const std::wstring& text, UINT style) {
  log_.Add(platform::Format(L"ShowErrorDialog(%s,0x%X)", text.c_str(), style));
  if (onErrorDialog) onErrorDialog(text);
  std::lock_guard<std::mutex> lock(scriptMutex_);
  if (errorAnswers_.empty()) return IDOK;
  int answer = errorAnswers_.front();
  errorAnswers_.pop_front();
  return answer;
}

int RecordingEventDispatcher::ShowFilesInUseDialog(const std::wstring& processList) {
  log_.Add(L"ShowFilesInUseDialog(" + processList + L")");
  return IDOK;
}
int RecordingEventDispatcher::ShowDialog(const std::wstring& dialogName) {
  log_.Add(L"ShowDialog(" + dialogName + L")");
  return 1;
}
int RecordingEventDispatcher::ShowSourceMessageDialog(const std::wstring& text) {
  log_.Add(L"ShowSourceMessageDialog(" + text + L")");
  return 1;
}
void RecordingEventDispatcher::EndCurrentDialog() { log_.Add(L"EndCurrentDialog"); }
void RecordingEventDispatcher::ShowExitDialog(int status) { log_.Add(platform::Format(L"ShowExitDialog(%d)", status)); }
void RecordingEventDispatcher::NotifyCurrentDialog(const std::wstring& text) {
  log_.Add(L"NotifyCurrentDialog(" + text + L")");
}
void RecordingEventDispatcher::ExecuteSetup(int executionType) {
  log_.Add(platform::Format(L"ExecuteSetup(%d)", executionType));
}
void RecordingEventDispatcher::StartSetup(int executionType) {
  log_.Add(platform::Format(L"StartSetup(%d)", executionType));
}
void RecordingEventDispatcher::SetSourceRetry() { log_.Add(L"SetSourceRetry"); }
void RecordingEventDispatcher::EnableCloseCommand(bool enable) {
  log_.Add(platform::Format(L"EnableCloseCommand(%d)", enable ? 1 : 0));
}
void RecordingEventDispatcher::Cancel() { log_.Add(L"Cancel"); }
void RecordingEventDispatcher::IntermediateReboot() { log_.Add(L"IntermediateReboot"); }
void RecordingEventDispatcher::RequestParentReboot() { log_.Add(L"RequestParentReboot"); }

void RecordingEventDispatcher::ScriptErrorAnswers(std::initializer_list<int> answers) {
  std::lock_guard<std::mutex> lock(scriptMutex_);
  errorAnswers_.assign(answers.begin(), answers.end());
}

}  // namespace enginetest
