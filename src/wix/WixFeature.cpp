#include "wix/WixFeature.h"

#include "log/Log.h"
#include "platform/StringUtil.h"

namespace {
constexpr wchar_t kNonFeaturePrefix[] = L"NonFeature_";
constexpr size_t kNonFeaturePrefixLength = 11;
}  // namespace

CWixFeature::CWixFeature(const std::wstring& id) : id_(id) {}

CWixFeature::~CWixFeature() {
  try {
    children_.clear();
  } catch (...) {
    LogError(L"Error in clearing the Feature list.");
  }
}

bool CWixFeature::IsNonFeature() const { return platform::StartsWith(id_, kNonFeaturePrefix); }

std::wstring CWixFeature::GetNonFeatureProductName() const {
  return IsNonFeature() ? id_.substr(kNonFeaturePrefixLength) : std::wstring();
}

void CWixFeature::AddChild(std::unique_ptr<CWixFeature> child) {
  if (child) children_.push_back(std::move(child));
}

void CWixFeature::SetFlags(int flags) {
  flags_ = flags;
  treeState_ = (flags & kFlagSelected) != 0 ? kTreeLocal : kTreeAbsent;
}

void CWixFeature::SetTreeState(int state) {
  treeState_ = state;
  if (state == kTreeAbsent) {
    flags_ &= ~kFlagSelected;
  } else {
    flags_ |= kFlagSelected;
  }
}
