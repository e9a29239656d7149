// The state side of the selection tree without a window: the state a parent
// shows for its children, the icon an item gets, and what the menu's three
// commands do to a subtree, to the installer's feature states and to the
// products that non-features stand for.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/ExecutionType.h"
#include "features/FeatureTestFixture.h"
#include "platform/StringUtil.h"
#include "ui/controls/FeatureTree.h"

namespace featuretest {
namespace {

using ui::CFeatureTree;

constexpr int kLocal = 3;
constexpr int kAbsent = 2;

// One menu command on one feature.
struct Command {
  const wchar_t* feature;
  int command;
  bool changes;  // whether the tree accepts it
};

struct MenuCase {
  const char* name;
  std::vector<Command> commands;
  // Features selected afterwards (every other one is not).
  std::set<std::wstring> selected;
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

// Main (folder INSTALLDIR)
//   Core        may not be absent
//   Docs
//     Manual    follows its parent
//     Samples   not installed at first
// Tools
//   Plugins     follows its parent
// Kit           may not be absent below: KitCore
//   KitCore     may not be absent
// NonFeature_Tool
class FeatureTreeMenu : public FeatureTest, public ::testing::WithParamInterface<MenuCase> {
 protected:
  void SetUp() override {
    FeatureTest::SetUp();
    ReadProducts(
        "<ProductList><ProductGroup Sequence=\"1\">"
        "<Product Sequence=\"1\" Type=\"EXE\" ProductName=\"Tool\"/>"
        "</ProductGroup></ProductList>");
    record_->SetExecutionType(SETUPEXECTYPE_INSTALLATION);
    CWixFeature* main = AddFeature(nullptr, L"Main", 1, L"INSTALLDIR");
    AddFeature(main, L"Core")->SetAbsent(1);
    CWixFeature* docs = AddFeature(main, L"Docs");
    AddFeature(docs, L"Manual")->SetInstallDefault(0);
    AddFeature(docs, L"Samples");
    CWixFeature* tools = AddFeature(nullptr, L"Tools");
    AddFeature(tools, L"Plugins")->SetInstallDefault(0);
    CWixFeature* kit = AddFeature(nullptr, L"Kit");
    AddFeature(kit, L"KitCore")->SetAbsent(1);
    AddFeature(nullptr, L"NonFeature_Tool");
    for (const wchar_t* id : {L"Main", L"Core", L"Docs", L"Manual", L"Kit", L"KitCore"}) msi_.features[id] = {-1, kLocal};
    for (const wchar_t* id : {L"Samples", L"Tools", L"Plugins"}) msi_.features[id] = {-1, kAbsent};
  }

  CWixFeature* Find(const std::wstring& id) { return Find(model_.GetFeatures(), id); }
  static CWixFeature* Find(const std::vector<std::unique_ptr<CWixFeature>>& list, const std::wstring& id) {
    for (const auto& feature : list) {
      if (feature->GetId() == id) return feature.get();
      if (CWixFeature* found = Find(feature->GetChildren(), id)) return found;
    }
    return nullptr;
  }
  static void CollectSelected(const std::vector<std::unique_ptr<CWixFeature>>& list, std::set<std::wstring>& out) {
    for (const auto& feature : list) {
      if ((feature->GetFlags() & CWixFeature::kFlagSelected) != 0) out.insert(feature->GetId());
      CollectSelected(feature->GetChildren(), out);
    }
  }
};

TEST_P(FeatureTreeMenu, CommandsChangeTheSubtreeAndTheInstallerStatesAlike) {
  CFeatureTree tree(nullptr, *record_, model_, msi_);
  tree.Build();
  for (const Command& command : GetParam().commands) {
    CWixFeature* feature = Find(command.feature);
    ASSERT_NE(feature, nullptr) << platform::WideToUtf8(command.feature);
    EXPECT_EQ(tree.ApplyMenuCommand(*feature, command.command), command.changes)
        << platform::WideToUtf8(command.feature) << " command " << command.command;
  }
  std::set<std::wstring> selected;
  CollectSelected(model_.GetFeatures(), selected);
  // Parents show what their subtree holds, not what was chosen for them last.
  EXPECT_EQ(selected, GetParam().selected);
  // The installer is told the same for every real feature.
  for (const auto& [id, state] : msi_.features) {
    if (!state.ok || id == L"NonFeature_Tool") continue;
    const bool wanted = GetParam().selected.count(id) != 0;
    EXPECT_EQ(state.action, wanted ? kLocal : kAbsent) << platform::WideToUtf8(id);
  }
  // A non-feature never reaches the installer; its product follows the choice.
  EXPECT_EQ(msi_.features.count(L"NonFeature_Tool"), 0u);
  EXPECT_EQ(Remembered(L"Tool"), GetParam().selected.count(L"NonFeature_Tool") != 0 ? 1 : 0);
}

const std::set<std::wstring> kInitial = {L"Main", L"Core", L"Docs", L"Manual", L"Kit", L"KitCore", L"NonFeature_Tool"};

INSTANTIATE_TEST_SUITE_P(
    Cases, FeatureTreeMenu,
    ::testing::Values(
        MenuCase{"NothingChosen", {}, kInitial},
        MenuCase{"LeafLocalSetsOnlyTheLeaf",
                 {{L"Samples", CFeatureTree::kCommandLocal, true}},
                 {L"Main", L"Core", L"Docs", L"Manual", L"Samples", L"Kit", L"KitCore", L"NonFeature_Tool"}},
        MenuCase{"SubtreeAbsentThenLocalRestoresEachState",
                 {{L"Docs", CFeatureTree::kCommandAbsent, true}, {L"Docs", CFeatureTree::kCommandLocal, true}},
                 kInitial},
        MenuCase{"SubtreeAbsentClearsEveryFeatureBelow",
                 {{L"Docs", CFeatureTree::kCommandAbsent, true}},
                 {L"Main", L"Core", L"Kit", L"KitCore", L"NonFeature_Tool"}},
        MenuCase{"AllLocalSelectsEveryFeatureBelow",
                 {{L"Docs", CFeatureTree::kCommandAllLocal, true}},
                 {L"Main", L"Core", L"Docs", L"Manual", L"Samples", L"Kit", L"KitCore", L"NonFeature_Tool"}},
        MenuCase{"LocalWithoutSavedStatesBringsOnlyFollowers",
                 {{L"Tools", CFeatureTree::kCommandLocal, true}},
                 {L"Main", L"Core", L"Docs", L"Manual", L"Tools", L"Plugins", L"Kit", L"KitCore",
                  L"NonFeature_Tool"}},
        // The package forbids the absent state: the feature's own setting
        // decides, not whether it is selected.
        MenuCase{"AbsentRefusedWhereThePackageForbidsIt",
                 {{L"Core", CFeatureTree::kCommandAbsent, false}},
                 kInitial},
        MenuCase{"AbsentRefusedAboveAFeatureThatMayNotGo",
                 {{L"Kit", CFeatureTree::kCommandAbsent, false}, {L"Main", CFeatureTree::kCommandAbsent, false}},
                 kInitial},
        MenuCase{"AbsentAllowedOnASelectedFeature",
                 {{L"Samples", CFeatureTree::kCommandLocal, true}, {L"Samples", CFeatureTree::kCommandAbsent, true}},
                 kInitial},
        MenuCase{"AbsentAllowedOnAnUnselectedFeature", {{L"Tools", CFeatureTree::kCommandAbsent, true}}, kInitial},
        MenuCase{"NonFeatureSwitchedOffAndOnAgain",
                 {{L"NonFeature_Tool", CFeatureTree::kCommandAbsent, true}},
                 {L"Main", L"Core", L"Docs", L"Manual", L"Kit", L"KitCore"}},
        MenuCase{"NonFeatureBackOn",
                 {{L"NonFeature_Tool", CFeatureTree::kCommandAbsent, true},
                  {L"NonFeature_Tool", CFeatureTree::kCommandLocal, true}},
                 kInitial}),
    [](const ::testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.name); });

TEST_F(FeatureTreeMenu, ALockedFeatureTakesNoCommand) {
  CFeatureTree tree(nullptr, *record_, model_, msi_);
  CWixFeature* tool = Find(L"NonFeature_Tool");
  tool->SetLocked(1);
  for (int command : {CFeatureTree::kCommandLocal, CFeatureTree::kCommandAllLocal, CFeatureTree::kCommandAbsent}) {
    EXPECT_FALSE(CFeatureTree::IsCommandAllowed(*tool, command)) << command;
    EXPECT_FALSE(tree.ApplyMenuCommand(*tool, command)) << command;
  }
  EXPECT_NE(tool->GetFlags() & CWixFeature::kFlagSelected, 0);
  EXPECT_EQ(Remembered(L"Tool"), 1);
}

// The image list holds the icons in tree-state order, so an item's image is
// its state: a local feature shows the local icon; a locked one the variant.
TEST_F(FeatureTreeMenu, ImageIndexIsTheTreeStateAndLockedFeaturesUseTheirVariant) {
  CFeatureTree tree(nullptr, *record_, model_, msi_);
  tree.Build();
  EXPECT_EQ(CFeatureTree::ImageIndex(*Find(L"Core")), CWixFeature::kTreeLocal);
  EXPECT_EQ(CFeatureTree::ImageIndex(*Find(L"Samples")), CWixFeature::kTreeAbsent);
  EXPECT_EQ(CFeatureTree::ImageIndex(*Find(L"Docs")), CWixFeature::kTreePartial);
  EXPECT_EQ(CFeatureTree::ImageIndex(*Find(L"Kit")), CWixFeature::kTreeLocal);
  Find(L"NonFeature_Tool")->SetLocked(1);
  EXPECT_EQ(CFeatureTree::ImageIndex(*Find(L"NonFeature_Tool")),
            CWixFeature::kTreeLocal + CFeatureTree::kLockedImageOffset);
}

struct ParentCase {
  const char* name;
  bool parentSelected;
  std::vector<bool> children;  // selected bits of leaf children
  int expected;
};
void PrintTo(const ParentCase& c, std::ostream* os) { *os << c.name; }

class ParentState : public FeatureTest, public ::testing::WithParamInterface<ParentCase> {};

TEST_P(ParentState, ComesFromTheChildren) {
  CWixFeature* parent = AddFeature(nullptr, L"Parent");
  parent->SetFlags(GetParam().parentSelected ? CWixFeature::kFlagSelected : 0);
  int i = 0;
  for (bool selected : GetParam().children) {
    AddFeature(parent, L"Child" + std::to_wstring(i++))->SetFlags(selected ? CWixFeature::kFlagSelected : 0);
  }
  EXPECT_EQ(CFeatureTree::ComputeTreeState(*parent), GetParam().expected);
  EXPECT_EQ(parent->GetTreeState(), GetParam().expected);
  // States 0 and 2 mark the parent selected, 1 clears it.
  EXPECT_EQ((parent->GetFlags() & CWixFeature::kFlagSelected) != 0, GetParam().expected != CWixFeature::kTreeAbsent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParentState,
    ::testing::Values(ParentCase{"AllLocal", false, {true, true}, CWixFeature::kTreeLocal},
                      ParentCase{"Mixed", false, {true, false}, CWixFeature::kTreePartial},
                      ParentCase{"NoneButParentSelected", true, {false, false}, CWixFeature::kTreePartial},
                      ParentCase{"NoneAndParentNot", false, {false, false}, CWixFeature::kTreeAbsent}),
    [](const ::testing::TestParamInfo<ParentCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace featuretest
