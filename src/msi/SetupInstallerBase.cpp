#include "msi/SetupInstallerBase.h"

#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "log/Log.h"
#include "msi/PropertyString.h"
#include "platform/StringUtil.h"

const wchar_t kStatusSeparator[] =
    L"----------------------------------------------------------------------------------------";

namespace {

std::wstring AssignedValue(const std::wstring& properties, const std::wstring& name) {
  for (const auto& [assigned, value] : msiprops::Split(properties)) {
    if (assigned == name) return value;
  }
  return {};
}

}  // namespace

CSetupInstallerBase::CSetupInstallerBase(ISetupConfigData& record, IEventDispatcher* dispatcher)
    : record_(record), dispatcher_(dispatcher) {}

CSetupInstallerBase::~CSetupInstallerBase() = default;

void CSetupInstallerBase::ResolvePropertyReferences(const std::wstring& propertyString, std::wstring& commandLine) {
  size_t scanFrom = 0;
  for (;;) {
    size_t open = commandLine.find(L'[', scanFrom);
    if (open == std::wstring::npos) return;
    size_t close = commandLine.find(L']', open + 1);
    if (close == std::wstring::npos) return;
    std::wstring name = commandLine.substr(open + 1, close - open - 1);
    std::wstring value = name.empty() ? std::wstring() : AssignedValue(propertyString, name);
    if (value.empty()) {
      scanFrom = close + 1;
      continue;
    }
    std::wstring reference = L"[" + name + L"]";
    // Replace from this reference on, so the scan resumes after the value put
    // in and a value that holds brackets is never read as a reference.
    std::wstring tail = commandLine.substr(open);
    platform::ReplaceAll(tail, reference, value);
    std::wstring head = commandLine.substr(0, open);
    platform::ReplaceAll(head, reference, value);
    commandLine = head + tail;
    scanFrom = head.size() + value.size();
  }
}

void CSetupInstallerBase::LogAdditionalInfo(DWORD code) const {
  if (code == 0 || silentConfig_ == nullptr) return;
  std::wstring key = L"AddInfo_" + std::to_wstring(code);
  std::wstring value;
  if (silentConfig_->GetKeyValue(key, value) != 1) return;
  if (!value.empty() && value != key) LogInformation(value);
}
