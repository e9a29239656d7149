#pragma once
// A writer of the Add/Remove Programs entry that records each call as a line
// in a call log and answers with a fixed result.

#include <string>
#include <vector>

#include "RecordingEventDispatcher.h"
#include "engine/IBundleRegistrar.h"

namespace enginetest {

class RecordingRegistrar final : public IBundleRegistrar {
 public:
  RecordingRegistrar(CallLog& log, bool succeed) : log_(log), succeed_(succeed) {}
  bool WriteBundleEntry() override {
    log_.Add(L"WriteBundleEntry");
    return succeed_;
  }
  bool RemoveBundleEntry(const std::vector<std::wstring>& patchCodes) override {
    std::wstring line = L"RemoveBundleEntry";
    for (size_t i = 0; i < patchCodes.size(); ++i) line += (i == 0 ? L"(" : L",") + patchCodes[i];
    if (!patchCodes.empty()) line += L")";
    log_.Add(line);
    return succeed_;
  }
  bool DeleteBundleEntry() override { return Record(L"DeleteBundleEntry"); }
  bool UpdateBundleSize() override { return Record(L"UpdateBundleSize"); }
  bool AddPatchEntry(const std::wstring& keyName, const std::wstring&, const std::wstring&) override {
    return Record(L"AddPatchEntry(" + keyName + L")");
  }
  bool DeleteEntry(const std::wstring& keyName) override { return Record(L"DeleteEntry(" + keyName + L")"); }
  bool DeleteInstallerKey(const std::wstring& keyName) override {
    return Record(L"DeleteInstallerKey(" + keyName + L")");
  }
  std::wstring ReadBundleInstallFolder() override {
    log_.Add(L"ReadBundleInstallFolder");
    return installFolder;
  }

  // What ReadBundleInstallFolder answers.
  std::wstring installFolder;

 private:
  bool Record(const std::wstring& line) {
    log_.Add(line);
    return succeed_;
  }
  CallLog& log_;
  bool succeed_;
};

}  // namespace enginetest
