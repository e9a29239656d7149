#pragma once
// The process-wide memory of which non-features (wizard features that stand
// for bundle products) are selected: product name -> 0 or 1. It lives here,
// below the feature utility, because the resume data carries it across an
// intermediate restart; the feature utility and the product property updater
// read and write it through this one store.

#include <map>
#include <string>

namespace platform {
class CArchive;
}

class CNonFeatureSelectionStore {
 public:
  // Product names are compared without regard to case, as everywhere else:
  // the feature id and the product's name may be spelled differently.
  struct NameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
  };
  using Selections = std::map<std::wstring, int, NameLess>;

  static CNonFeatureSelectionStore& GetInstance();

  void SetNonFeatureSelection(const std::wstring& name, int selected) { selections_[name] = selected; }
  // False when the name is not held; `selected` is left alone then.
  [[nodiscard]] bool FindNonFeatureSelection(const std::wstring& name, int& selected) const;
  void ClearNonFeatureSelections() { selections_.clear(); }
  [[nodiscard]] const Selections& GetAll() const { return selections_; }
  void ReplaceAll(Selections selections) { selections_ = std::move(selections); }

  // The resume data form: an unsigned 32-bit count, then per name (in name
  // order) the name as an archive string and the value as 32 bits.
  static void Store(platform::CArchive& archive, const Selections& selections);
  // Reads that form into `selections`; false (and `selections` unspecified)
  // when the archive ends early or is damaged.
  [[nodiscard]] static bool Load(platform::CArchive& archive, Selections& selections);

 private:
  CNonFeatureSelectionStore() = default;
  Selections selections_;
};
