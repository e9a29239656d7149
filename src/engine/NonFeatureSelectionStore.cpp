#include "engine/NonFeatureSelectionStore.h"

#include "platform/Archive.h"
#include "platform/StringUtil.h"

CNonFeatureSelectionStore& CNonFeatureSelectionStore::GetInstance() {
  static CNonFeatureSelectionStore store;
  return store;
}

bool CNonFeatureSelectionStore::NameLess::operator()(const std::wstring& a, const std::wstring& b) const {
  return platform::CompareNoCase(a, b) < 0;
}

bool CNonFeatureSelectionStore::FindNonFeatureSelection(const std::wstring& name, int& selected) const {
  auto found = selections_.find(name);
  if (found == selections_.end()) return false;
  selected = found->second;
  return true;
}

void CNonFeatureSelectionStore::Store(platform::CArchive& archive, const Selections& selections) {
  archive.WriteUInt32(static_cast<uint32_t>(selections.size()));
  for (const auto& [name, selected] : selections) {
    archive.WriteString(name);
    archive.WriteUInt32(static_cast<uint32_t>(selected));
  }
}

bool CNonFeatureSelectionStore::Load(platform::CArchive& archive, Selections& selections) {
  selections.clear();
  uint32_t count = 0;
  if (!archive.ReadUInt32(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    std::wstring name;
    uint32_t selected = 0;
    if (!archive.ReadString(name) || !archive.ReadUInt32(selected)) return false;
    selections[name] = static_cast<int>(selected);
  }
  return true;
}
