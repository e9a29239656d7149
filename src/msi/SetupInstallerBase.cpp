#include "msi/SetupInstallerBase.h"

#include "config/ISetupConfigData.h"
#include "config/ISilentConfigData.h"
#include "log/Log.h"
#include "platform/StringUtil.h"

const wchar_t kStatusSeparator[] =
    L"----------------------------------------------------------------------------------------";

namespace {

// Finds NAME as a whole assignment name (at the start or after a blank,
// followed by "="), so INSTALLDIR never reads the value of MYINSTALLDIR.
size_t FindAssignment(const std::wstring& properties, const std::wstring& name) {
  for (size_t at = properties.find(name); at != std::wstring::npos; at = properties.find(name, at + 1)) {
    bool startsName = at == 0 || properties[at - 1] == L' ';
    bool endsName = at + name.size() < properties.size() && properties[at + name.size()] == L'=';
    if (startsName && endsName) return at;
  }
  return std::wstring::npos;
}

std::wstring AssignedValue(const std::wstring& properties, const std::wstring& name) {
  size_t at = FindAssignment(properties, name);
  if (at == std::wstring::npos) return {};
  size_t equals = properties.find(L'=', at);
  size_t valueStart = equals + 2;  // past "=" and the opening quote
  if (valueStart > properties.size()) return {};
  size_t valueEnd = properties.find(L'"', valueStart);
  if (valueEnd == std::wstring::npos) return {};
  return properties.substr(valueStart, valueEnd - valueStart);
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
