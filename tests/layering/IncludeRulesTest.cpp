// src/README.md says which layer may call which; this reads the "May call"
// column from that file and every #include "folder/..." line under src/, and
// fails on an include the table does not allow, so the two cannot drift apart.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace {

using LayerTable = std::map<std::string, std::set<std::string>>;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r`");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r`");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitCells(const std::string& line, char separator) {
  std::vector<std::string> cells;
  std::stringstream stream(line);
  std::string cell;
  while (std::getline(stream, cell, separator)) cells.push_back(Trim(cell));
  return cells;
}

// Reads the table rows "| `layer` | what | may call |". "everything below"
// allows every layer of the later rows, "Windows only" none of ours. A name
// that is no layer of the table makes the whole table invalid (empty).
LayerTable ParseLayerTable(const std::string& readme) {
  std::vector<std::pair<std::string, std::string>> rows;
  std::stringstream lines(readme);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("| `", 0) != 0) continue;
    const std::vector<std::string> cells = SplitCells(line, '|');
    if (cells.size() < 4) return {};
    // Rooms inside a layer ("ui/host") have a table of their own.
    if (cells[1].find('/') != std::string::npos) continue;
    rows.emplace_back(cells[1], cells.back().empty() ? cells[cells.size() - 2] : cells.back());
  }
  std::set<std::string> names;
  for (const auto& row : rows) names.insert(row.first);
  LayerTable table;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::set<std::string>& allowed = table[rows[i].first];
    const std::string mayCall = rows[i].second;
    if (mayCall == "everything below") {
      for (size_t j = i + 1; j < rows.size(); ++j) allowed.insert(rows[j].first);
    } else if (mayCall != "Windows only") {
      for (const std::string& name : SplitCells(mayCall, ',')) {
        if (names.count(name) == 0) return {};
        allowed.insert(name);
      }
    }
  }
  return table;
}

// Reads the rows "| `ui/room` | what | other rooms |" of the rooms inside one
// layer; the rooms a row may call are named without the layer ("host"), "—"
// for none. A name that is no room makes the table invalid (empty).
LayerTable ParseRoomTable(const std::string& readme, const std::string& layer) {
  std::vector<std::pair<std::string, std::string>> rows;
  std::stringstream lines(readme);
  std::string line;
  const std::string prefix = "| `" + layer + "/";
  while (std::getline(lines, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    const std::vector<std::string> cells = SplitCells(line, '|');
    if (cells.size() < 4) return {};
    rows.emplace_back(cells[1], cells.back().empty() ? cells[cells.size() - 2] : cells.back());
  }
  LayerTable table;
  for (const auto& row : rows) table[row.first];
  for (const auto& [room, mayCall] : rows) {
    if (mayCall == "\xE2\x80\x94" || mayCall == "-") continue;
    for (const std::string& name : SplitCells(mayCall, ',')) {
      const std::string other = layer + "/" + name;
      if (table.count(other) == 0) return {};
      table[room].insert(other);
    }
  }
  return table;
}

struct SourceFile {
  std::string path;  // relative to src/, with forward slashes
  std::string text;
};

// Includes of another layer that the table does not allow, as "file -> include".
std::vector<std::string> FindViolations(const std::vector<SourceFile>& files, const LayerTable& table) {
  std::vector<std::string> violations;
  for (const SourceFile& file : files) {
    const std::string layer = file.path.substr(0, file.path.find('/'));
    const auto own = table.find(layer);
    if (own == table.end()) {
      violations.push_back(file.path + " -> (its folder has no row in the table)");
      continue;
    }
    std::stringstream lines(file.text);
    std::string line;
    while (std::getline(lines, line)) {
      const std::string trimmed = Trim(line);
      if (trimmed.rfind("#include \"", 0) != 0) continue;
      const std::string target = trimmed.substr(10, trimmed.find('"', 10) - 10);
      const size_t slash = target.find('/');
      if (slash == std::string::npos) continue;
      const std::string included = target.substr(0, slash);
      if (included == layer || table.count(included) == 0) continue;
      if (own->second.count(included) == 0) violations.push_back(file.path + " -> " + target);
    }
  }
  return violations;
}

void CollectSources(const std::wstring& root, const std::wstring& relative, std::vector<SourceFile>& files) {
  WIN32_FIND_DATAW found = {};
  platform::UniqueFindHandle find(::FindFirstFileW((root + relative + L"*").c_str(), &found));
  if (!find) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      CollectSources(root, relative + name + L"\\", files);
      continue;
    }
    const size_t dot = name.find_last_of(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (extension != L".h" && extension != L".cpp") continue;
    std::string path = platform::WideToUtf8(relative + name);
    std::replace(path.begin(), path.end(), '\\', '/');
    files.push_back({path, testsupport::ReadFileBytes(root + relative + name)});
  } while (::FindNextFileW(find.Get(), &found));
}

// Includes between the rooms of one layer that the room table does not allow.
std::vector<std::string> FindRoomViolations(const std::vector<SourceFile>& files, const LayerTable& rooms,
                                            const std::string& layer) {
  std::vector<std::string> violations;
  for (const SourceFile& file : files) {
    if (file.path.rfind(layer + "/", 0) != 0) continue;
    const size_t second = file.path.find('/', layer.size() + 1);
    if (second == std::string::npos) {
      violations.push_back(file.path + " -> (not in a room of " + layer + ")");
      continue;
    }
    const std::string room = file.path.substr(0, second);
    const auto own = rooms.find(room);
    if (own == rooms.end()) {
      violations.push_back(file.path + " -> (its room has no row in the table)");
      continue;
    }
    std::stringstream lines(file.text);
    std::string line;
    while (std::getline(lines, line)) {
      const std::string trimmed = Trim(line);
      if (trimmed.rfind("#include \"" + layer + "/", 0) != 0) continue;
      const std::string target = trimmed.substr(10, trimmed.find('"', 10) - 10);
      const size_t slash = target.find('/', layer.size() + 1);
      if (slash == std::string::npos) continue;
      const std::string included = target.substr(0, slash);
      if (included == room) continue;
      if (own->second.count(included) == 0) violations.push_back(file.path + " -> " + target);
    }
  }
  return violations;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(IncludeRules, EveryIncludeUnderSrcKeepsToTheReadmeTable) {
  const std::wstring source = testsupport::SourceFolder();
  ASSERT_FALSE(source.empty()) << "SETUP_TEST_SOURCE_DIR is not set (./dev test sets it)";
  const LayerTable table = ParseLayerTable(testsupport::ReadFileBytes(source + L"src\\README.md"));
  ASSERT_GE(table.size(), 10u) << "the layer table of src/README.md could not be read";
  std::vector<SourceFile> files;
  CollectSources(source + L"src\\", L"", files);
  ASSERT_GT(files.size(), 100u);
  EXPECT_EQ(Join(FindViolations(files, table)), "");
}

TEST(IncludeRules, TheWizardsRoomsKeepToTheirTable) {
  const std::wstring source = testsupport::SourceFolder();
  ASSERT_FALSE(source.empty()) << "SETUP_TEST_SOURCE_DIR is not set (./dev test sets it)";
  const LayerTable rooms = ParseRoomTable(testsupport::ReadFileBytes(source + L"src\\README.md"), "ui");
  ASSERT_GE(rooms.size(), 5u) << "the room table of ui in src/README.md could not be read";
  std::vector<SourceFile> files;
  CollectSources(source + L"src\\", L"ui\\", files);
  ASSERT_GT(files.size(), 20u);
  EXPECT_EQ(Join(FindRoomViolations(files, rooms, "ui")), "");
}

TEST(IncludeRules, ARoomMayCallOnlyTheRoomsItsRowNames) {
  const std::string readme =
      "| `ui/host` | dialogs | controls, style |\n"
      "| `ui/controls` | family | style |\n"
      "| `ui/style` | look | \xE2\x80\x94 |\n";
  const LayerTable rooms = ParseRoomTable(readme, "ui");
  ASSERT_EQ(rooms.size(), 3u);
  const std::vector<SourceFile> files = {
      {"ui/host/A.cpp", "#include \"ui/controls/B.h\"\n#include \"engine/X.h\"\n"},
      {"ui/controls/B.cpp", "#include \"ui/host/A.h\"\n#include \"ui/controls/C.h\"\n"},
      {"ui/style/S.cpp", "#include \"ui/style/T.h\"\n"},
      {"ui/Loose.cpp", "\n"},
  };
  EXPECT_EQ(Join(FindRoomViolations(files, rooms, "ui")),
            "ui/controls/B.cpp -> ui/host/A.h\nui/Loose.cpp -> (not in a room of ui)\n");
  EXPECT_TRUE(ParseRoomTable(readme + "| `ui/extra` | x | nowhere |\n", "ui").empty());
}

const char kSampleReadme[] =
    "| Folder | What | May call |\n"
    "|---|---|---|\n"
    "| `app` | top | everything below |\n"
    "| `engine` | middle | config, platform |\n"
    "| `config` | lower | platform |\n"
    "| `platform` | bottom | Windows only |\n";

TEST(IncludeRules, TheTableReaderUnderstandsEverythingBelowAndWindowsOnly) {
  const LayerTable table = ParseLayerTable(kSampleReadme);
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table.at("app"), (std::set<std::string>{"engine", "config", "platform"}));
  EXPECT_EQ(table.at("engine"), (std::set<std::string>{"config", "platform"}));
  EXPECT_TRUE(table.at("platform").empty());
  // A name that is no layer makes the table unusable rather than silently permissive.
  EXPECT_TRUE(ParseLayerTable(std::string(kSampleReadme) + "| `extra` | x | configg |\n").empty());
}

TEST(IncludeRules, AnIncludeUpwardsOrSidewaysIsReported) {
  const LayerTable table = ParseLayerTable(kSampleReadme);
  struct Case {
    const char* name;
    SourceFile file;
    std::string expected;
  };
  const Case cases[] = {
      {"Downwards", {"engine/A.cpp", "#include \"config/B.h\"\n#include <windows.h>\n"}, ""},
      {"OwnLayerAndSubfolder", {"app/sub/A.cpp", "#include \"app/x/B.h\"\n"}, ""},
      {"Upwards", {"config/A.h", "  #include \"engine/C.h\"\n"}, "config/A.h -> engine/C.h\n"},
      {"SkippedLayer", {"platform/A.cpp", "#include \"config/X.h\"\n"}, "platform/A.cpp -> config/X.h\n"},
      {"NotALayer", {"config/A.cpp", "#include \"gtest/gtest.h\"\n"}, ""},
      {"UnknownFolder", {"tools/A.cpp", "\n"}, "tools/A.cpp -> (its folder has no row in the table)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Join(FindViolations({c.file}, table)), c.expected);
  }
}

}  // namespace
