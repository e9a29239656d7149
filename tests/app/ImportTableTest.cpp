// Setup.exe runs elevated from folders other people can write to (downloads,
// shares): every DLL it imports must be one Windows maps from the system
// folder whatever lies beside the program. Checked on the files of both builds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "support/PeImports.h"
#include "support/TestPaths.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsKnownDll(const std::string& name) {
  const auto& known = testsupport::KnownDllNames();
  return std::find(known.begin(), known.end(), Lower(name)) != known.end();
}

// The common controls come from the side-by-side store only when the
// program's manifest asks for them by assembly; otherwise the application
// folder would be searched first.
bool ManifestAsksForCommonControls(const std::string& imageBytes) {
  return imageBytes.find("name=\"Microsoft.Windows.Common-Controls\"") != std::string::npos;
}

// Every imported DLL that a planted file beside the program could replace.
std::vector<std::string> PlantableImports(const std::string& imageBytes, const testsupport::PeImports& imports) {
  std::vector<std::string> plantable;
  auto check = [&](const std::string& dll) {
    if (IsKnownDll(dll)) return;
    if (Lower(dll) == "comctl32.dll" && ManifestAsksForCommonControls(imageBytes)) return;
    plantable.push_back(dll);
  };
  for (const std::string& dll : imports.dlls) check(dll);
  // Delay-loaded DLLs go through the ordinary search order too.
  for (const std::string& dll : imports.delayLoaded) check(dll);
  return plantable;
}

std::string Join(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

struct BuildCase {
  const char* name;
  std::wstring (*binFolder)();
  bool is64Bit;
};

void PrintTo(const BuildCase& c, std::ostream* out) { *out << c.name; }

class SetupImports : public ::testing::TestWithParam<BuildCase> {};

TEST_P(SetupImports, AreAllKnownDllsOrSideBySideCommonControls) {
  const std::wstring path = GetParam().binFolder() + L"Setup.exe";
  const std::string bytes = testsupport::ReadFileBytes(path);
  ASSERT_FALSE(bytes.empty()) << "cannot read " << std::string(path.begin(), path.end())
                              << " (./dev build builds both targets)";
  const testsupport::PeImports imports = testsupport::ReadPeImports(bytes);
  ASSERT_TRUE(imports.valid);
  EXPECT_EQ(imports.is64Bit, GetParam().is64Bit);
  // A program without kernel32 in its table would mean the reader walked the wrong table.
  EXPECT_TRUE(std::any_of(imports.dlls.begin(), imports.dlls.end(),
                          [](const std::string& dll) { return Lower(dll) == "kernel32.dll"; }))
      << Join(imports.dlls);
  EXPECT_EQ(Join(PlantableImports(bytes, imports)), "") << "all imports: " << Join(imports.dlls);
}

INSTANTIATE_TEST_SUITE_P(Builds, SetupImports,
                         ::testing::Values(BuildCase{"Win64", &testsupport::BinFolder, true},
                                           BuildCase{"Win32Shipped", &testsupport::ShippedBinFolder, false}),
                         [](const ::testing::TestParamInfo<BuildCase>& info) { return std::string(info.param.name); });

TEST(PeImportReader, ListsTheImportsOfAPlantedDllAndNothingForOtherFiles) {
  const std::string dll = testsupport::ReadFileBytes(testsupport::BinFolder() + L"planted_dll.dll");
  ASSERT_FALSE(dll.empty());
  const testsupport::PeImports imports = testsupport::ReadPeImports(dll);
  ASSERT_TRUE(imports.valid);
  EXPECT_TRUE(std::any_of(imports.dlls.begin(), imports.dlls.end(),
                          [](const std::string& name) { return Lower(name) == "kernel32.dll"; }))
      << Join(imports.dlls);
  EXPECT_TRUE(imports.delayLoaded.empty());

  EXPECT_FALSE(testsupport::ReadPeImports("").valid);
  EXPECT_FALSE(testsupport::ReadPeImports("MZ not really a program").valid);
  // A header cut short after the signature.
  EXPECT_FALSE(testsupport::ReadPeImports(dll.substr(0, 0x90)).valid);
}

TEST(PeImportReader, FindsAPlantableImportAndAcceptsKnownOnes) {
  testsupport::PeImports imports;
  imports.valid = true;
  imports.dlls = {"KERNEL32.dll", "VERSION.dll", "comctl32.dll"};
  imports.delayLoaded = {"dbghelp.dll"};
  EXPECT_EQ(Join(PlantableImports("", imports)), "VERSION.dll, comctl32.dll, dbghelp.dll");
  EXPECT_EQ(Join(PlantableImports("name=\"Microsoft.Windows.Common-Controls\"", imports)),
            "VERSION.dll, dbghelp.dll");
}

}  // namespace
