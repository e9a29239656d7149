#pragma once
// One feature of the main package as the WiX sources describe it, with its
// child features (owned) and the run-time selection state the wizard keeps.

#include <map>
#include <memory>
#include <string>
#include <vector>

struct WixFeatureCondition {
  int level = 0;
  std::wstring condition;
};

class CWixFeature {
 public:
  // Flag bits of the run-time state.
  static constexpr int kFlagHidden = 1;
  static constexpr int kFlagSelected = 2;
  static constexpr int kFlagExpanded = 4;
  // Tree states.
  static constexpr int kTreePartial = 0;
  static constexpr int kTreeAbsent = 1;
  static constexpr int kTreeLocal = 2;

  explicit CWixFeature(const std::wstring& id);
  ~CWixFeature();
  CWixFeature(const CWixFeature&) = delete;
  CWixFeature& operator=(const CWixFeature&) = delete;

  [[nodiscard]] const std::wstring& GetId() const { return id_; }
  [[nodiscard]] const std::wstring& GetTitle() const { return title_; }
  [[nodiscard]] const std::wstring& GetDescription() const { return description_; }
  // "hidden", "collapse", "expand" or empty.
  [[nodiscard]] const std::wstring& GetDisplay() const { return display_; }
  // -1 when the sources give none.
  [[nodiscard]] int GetLevel() const { return level_; }
  [[nodiscard]] const std::wstring& GetConfigurableDirectory() const { return configurableDirectory_; }
  // 0 the feature may be absent, 1 it may not.
  [[nodiscard]] int GetAbsent() const { return absent_; }
  // 0 follow the parent, 1 local, 2 source.
  [[nodiscard]] int GetInstallDefault() const { return installDefault_; }
  [[nodiscard]] const std::vector<WixFeatureCondition>& GetConditions() const { return conditions_; }
  [[nodiscard]] const std::vector<std::unique_ptr<CWixFeature>>& GetChildren() const { return children_; }
  // A feature named "NonFeature_<product>" stands for a bundle product.
  [[nodiscard]] bool IsNonFeature() const;
  [[nodiscard]] std::wstring GetNonFeatureProductName() const;

  void SetTitle(const std::wstring& text) { title_ = text; }
  void SetDescription(const std::wstring& text) { description_ = text; }
  void SetDisplay(const std::wstring& display) { display_ = display; }
  void SetLevel(int level) { level_ = level; }
  void SetConfigurableDirectory(const std::wstring& directory) { configurableDirectory_ = directory; }
  void SetAbsent(int absent) { absent_ = absent; }
  void SetInstallDefault(int installDefault) { installDefault_ = installDefault; }
  void AddCondition(WixFeatureCondition condition) { conditions_.push_back(std::move(condition)); }
  void AddChild(std::unique_ptr<CWixFeature> child);

  // Run-time state: setting the flags sets the tree state and the other way round.
  [[nodiscard]] int GetFlags() const { return flags_; }
  void SetFlags(int flags);
  [[nodiscard]] int GetTreeState() const { return treeState_; }
  void SetTreeState(int state);
  [[nodiscard]] int GetLocked() const { return locked_; }
  void SetLocked(int locked) { locked_ = locked; }
  [[nodiscard]] long long GetCost() const { return cost_; }
  void SetCost(long long cost) { cost_ = cost; }
  [[nodiscard]] std::map<std::wstring, int>& GetSavedStates() { return savedStates_; }

 private:
  std::wstring id_;
  std::wstring title_;
  std::wstring description_;
  std::wstring display_;
  int level_ = -1;
  std::wstring configurableDirectory_;
  int absent_ = 0;
  int installDefault_ = 1;
  std::vector<WixFeatureCondition> conditions_;
  std::vector<std::unique_ptr<CWixFeature>> children_;
  int flags_ = 0;
  int treeState_ = kTreeAbsent;
  int locked_ = 0;
  long long cost_ = 0;
  std::map<std::wstring, int> savedStates_;
};
