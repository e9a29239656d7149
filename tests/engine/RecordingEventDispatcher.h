#pragma once
// Recording implementations of the two interfaces the execution side talks
// through, and of the main package's session: every call is logged as one
// line, dialog requests are answered from a script, progress goes to a real
// simulated-progress thread, product results to a real reboot manager.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/RebootManager.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "msi/IMSIManager.h"
#include "msi/ProgressManager.h"

namespace enginetest {

// A thread-safe list of call lines ("OnProduct(1,Name,2)"). It also keeps the
// thread rule of the two interfaces: calls arrive on the thread that made the
// log (the user-interface thread of the test), progress calls on any thread.
class CallLog {
 public:
  CallLog();
  void Add(const std::wstring& line);
  // The progress operations, which the simulated progress thread calls.
  void AddProgress(const std::wstring& line);
  // The calls that arrived on another thread than the log's.
  [[nodiscard]] std::vector<std::wstring> OffThreadCalls() const;
  [[nodiscard]] std::vector<std::wstring> Lines() const;
  // Lines that start with `prefix`, in order.
  [[nodiscard]] std::vector<std::wstring> Starting(const std::wstring& prefix) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
  std::vector<std::wstring> offThread_;
  DWORD ownerThread_;
};

class RecordingEventMapper final : public IEventMapper {
 public:
  explicit RecordingEventMapper(CallLog& log);
  ~RecordingEventMapper();

  void RegisterControl(int kind, HWND window) override;
  int AttachDialog(HWND dialog) override;
  void SetActionText(const std::wstring& text) override;
  void SetActionData(const std::wstring& text) override;
  void SetProgressPos(int position) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  void OnRun(int phase) override;
  void OnProductGroup(int phase, IProductGroup* group, int result) override;
  void OnProduct(int phase, IProductAttributes* product, int value) override;
  void SetProductRebootState(IProductAttributes* product, DWORD exitCode) override;
  void SetBillboardManager(CBillboardManager* manager) override;
  void EnableCancel(bool enable) override;
  void OnRollback(int phase, int steps) override;
  void OnRollbackGroup(int phase, IProductGroup* group, int flag) override;
  void OnRollbackProduct(int phase, IProductAttributes* product, int value) override;
  void EnableSubscribers(bool enable) override;
  void SetSubscriberText(const std::wstring& text) override;
  void PublishAttribute(int eventNumber, int value, const std::wstring& text) override;
  void CreateProgressManager() override;
  void StartProgressManager(HANDLE& thread, DWORD expectedMilliseconds) override;
  void StopProgressManager() override;

  // Called after OnProduct is logged (tests cancel from here).
  std::function<void(int phase, IProductAttributes* product, int value)> onProduct;
  // Called after each SetProgressPos is recorded, on the calling thread (the
  // simulated progress thread too): tests wait on it instead of sleeping.
  std::function<void(int position)> onProgressPos;
  // Progress bar model the progress operations drive.
  struct Bar {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
    int step = 0;
  };
  [[nodiscard]] Bar GetBar() const;
  [[nodiscard]] CRebootManager& GetRebootManager() { return rebootManager_; }
  // When true, StartProgressManager hands out no thread.
  bool failProgressStart = false;

 private:
  CallLog& log_;
  mutable std::mutex barMutex_;
  Bar bar_;
  CRebootManager rebootManager_;
  std::unique_ptr<CProgressManager> progress_;
};

class RecordingMsiManager final : public IMSIManager {
 public:
  explicit RecordingMsiManager(CallLog& log) : log_(log) {}

  std::wstring GetProperty(const std::wstring& name, bool indirect) override;
  void SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) override;
  bool EvaluateCondition(const std::wstring&) override { return false; }
  void FormatText(std::wstring&) override {}
  std::wstring GetPropertyString() override { return {}; }
  void CloseHandles() override {}
  void CloseHandlesUnlessKept() override {}
  bool GetFeatureState(const std::wstring&, int&, int&) override { return false; }
  void SetFeatureState(const std::wstring&, int) override {}
  unsigned DoAction(const std::wstring&) override { return 1; }
  void ReopenCachedPackage() override {}
  bool RunActionInWixSourcePackage(const std::wstring&) override { return false; }
  bool SetFeaturesCost() override { return false; }
  std::wstring GetProductCode() const override { return {}; }
  void SetProductCode(const std::wstring&) override {}
  void SetDatabaseHandle(unsigned long) override {}
  void SetPackageHandle(unsigned long) override {}
  bool LoadFeatureDisplay(CWixFeature*) override { return false; }
  bool SetInstallLevel(int) override { return false; }
  void CacheProperty(const std::wstring& name, const std::wstring& value) override { properties_[name] = value; }
  void MaskHiddenProperties(std::wstring& text) override;

  std::wstring GetControlText(const std::wstring&) override { return {}; }

  void AddHiddenProperty(const std::wstring& name) { hiddenNames_.push_back(name); }

 private:
  CallLog& log_;
  std::map<std::wstring, std::wstring> properties_;
  std::vector<std::wstring> hiddenNames_;
};

class RecordingEventDispatcher final : public IEventDispatcher {
 public:
  RecordingEventDispatcher();

  void OnControlActivated(CWixControl* control) override;
  IMSIManager* GetMSIManager() override { return sessionOverride_ != nullptr ? sessionOverride_ : &msiManager_; }
  // Hands out a real session (the setup manager's) instead of the recording one.
  void UseMsiManager(IMSIManager* manager) { sessionOverride_ = manager; }
  int ShowErrorDialog(const std::wstring& text, UINT style) override;
  int ShowFilesInUseDialog(const std::wstring& processList) override;
  int ShowDialog(const std::wstring& dialogName) override;
  int ShowSourceMessageDialog(const std::wstring& text) override;
  void EndCurrentDialog() override;
  void ShowExitDialog(int status) override;
  void NotifyCurrentDialog(const std::wstring& text) override;
  void ExecuteSetup(int executionType) override;
  void StartSetup(int executionType) override;
  void SetSourceRetry() override;
  IEventMapper* GetEventMapper() override { return &mapper_; }
  HWND GetMainWindowHandle() override { return nullptr; }
  void EnableCloseCommand(bool enable) override;
  void Cancel() override;
  void IntermediateReboot() override;
  void RequestParentReboot() override;

  // Answers for ShowErrorDialog, in order; IDOK once the script is used up.
  void ScriptErrorAnswers(std::initializer_list<int> answers);
  // Called with each error-dialog text before it is answered (any thread).
  std::function<void(const std::wstring& text)> onErrorDialog;

  [[nodiscard]] CallLog& Log() { return log_; }
  [[nodiscard]] RecordingEventMapper& Mapper() { return mapper_; }
  [[nodiscard]] RecordingMsiManager& MsiManager() { return msiManager_; }

 private:
  CallLog log_;
  RecordingEventMapper mapper_;
  RecordingMsiManager msiManager_;
  IMSIManager* sessionOverride_ = nullptr;
  std::mutex scriptMutex_;
  std::deque<int> errorAnswers_;
};

}  // namespace enginetest
