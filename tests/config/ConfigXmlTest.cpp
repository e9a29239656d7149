#include <gtest/gtest.h>

#include <objbase.h>

#include <thread>

#include "xml/Parser.h"
#include "xml/XmlNode.h"
#include "platform/StringUtil.h"
#include "XmlTestFiles.h"

namespace {

class ConfigXmlLoad : public ::testing::Test {
 protected:
  std::wstring folder_ = testsupport::MakeScratchFolder(L"ConfigXmlLoad");
  void TearDown() override { testsupport::RemoveFolder(folder_); }
};

TEST_F(ConfigXmlLoad, MissingFileNamesThePathAsGiven) {
  const std::wstring path = folder_ + L"does\\not\\exist.xml";
  CXmlNode root;
  std::wstring error;
  EXPECT_FALSE(CParser::LoadXmlFile(path, root, error));
  EXPECT_EQ(error, L"CParser::LoadXmlFile() - Could not find the file path " + path + L" .");
  EXPECT_FALSE(root.IsValid());
}

TEST_F(ConfigXmlLoad, FolderIsNotAFile) {
  CXmlNode root;
  std::wstring error;
  EXPECT_FALSE(CParser::LoadXmlFile(folder_, root, error));
  EXPECT_EQ(error, L"CParser::LoadXmlFile() - Could not find the file path " + folder_ + L" .");
}

TEST_F(ConfigXmlLoad, MalformedFilesGiveTheParseErrorText) {
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"unclosed", "<?xml version=\"1.0\"?>\n<Root>\n  <General>\n</Root>\n"},
      {"empty", ""},
      {"text only", "no markup here"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring path = configtest::WriteXml(folder_, L"bad.xml", c.content);
    CXmlNode root;
    std::wstring error;
    EXPECT_FALSE(CParser::LoadXmlFile(path, root, error));
    // The reason text and line number are the parser's own; only the frame is ours.
    const std::wstring prefix = L"Xml Parse Error information : File name: " + path + L"\n Line Number: ";
    EXPECT_EQ(error.substr(0, prefix.size()), prefix);
    EXPECT_NE(error.find(L" \n Reason For Failure : "), std::wstring::npos);
  }
}

TEST_F(ConfigXmlLoad, GoodFileGivesTheRootAndLeavesErrorTextAlone) {
  const std::wstring path = configtest::WriteXml(
      folder_, L"good.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Setup a=\"1\"><General/></Setup>\n");
  CXmlNode root;
  std::wstring error = L"untouched";
  ASSERT_TRUE(CParser::LoadXmlFile(path, root, error));
  EXPECT_EQ(error, L"untouched");
  EXPECT_EQ(root.GetName(), L"Setup");
  EXPECT_TRUE(root.SelectSingleNode(L"General").IsValid());
}

TEST_F(ConfigXmlLoad, RepeatedLoadsOnOneThreadAndLoadsFromAMultithreadedApartment) {
  const std::wstring path = configtest::WriteXml(folder_, L"good.xml", "<Root><Item Value=\"7\"/></Root>");
  for (int i = 0; i < 3; ++i) {
    CXmlNode root;
    std::wstring error;
    ASSERT_TRUE(CParser::LoadXmlFile(path, root, error)) << error;
    EXPECT_EQ(CParser::GetChildValueInt(root, L"Item"), 7);
  }
  int value = -1;
  std::thread worker([&] {
    (void)::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      CXmlNode root;
      std::wstring error;
      if (CParser::LoadXmlFile(path, root, error)) value = CParser::GetChildValueInt(root, L"Item");
    }
    ::CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(value, 7);
}

TEST_F(ConfigXmlLoad, NonAsciiContentAndPathSurvive) {
  const std::wstring path = configtest::WriteXml(
      folder_, L"d\u00e9mo.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?><R><N Value=\"Gr\xc3\xbc\xc3\x9f" "e\"/></R>");
  CXmlNode root;
  std::wstring error;
  ASSERT_TRUE(CParser::LoadXmlFile(path, root, error)) << error;
  EXPECT_EQ(CParser::GetChildValueString(root, L"N"), L"Gr\u00fc\u00dfe");
}

// One document serves every helper case; each case names an element or attribute of it.
class ConfigXmlHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeScratchFolder(L"ConfigXmlHelpers");
    const std::wstring path = configtest::WriteXml(folder_, L"helpers.xml",
                                                   "<Root>"
                                                   "<Abc Value=\"abc\"/>"
                                                   "<Lead Value=\" 12a\"/>"
                                                   "<Neg Value=\"-34\"/>"
                                                   "<NoValue Other=\"5\"/>"
                                                   "<Upper Value=\"TRUE\"/>"
                                                   "<One Value=\"1\"/>"
                                                   "<Deep><Er Value=\"yes\"/></Deep>"
                                                   "<Flags upper=\"TRUE\" mixed=\"Yes\" lower=\"yes\" one=\"1\" "
                                                   "empty=\"\" no=\"no\" num=\"  42x\" bad=\"x42\"/>"
                                                   "</Root>");
    std::wstring error;
    ASSERT_TRUE(CParser::LoadXmlFile(path, root_, error)) << error;
  }
  void TearDown() override { testsupport::RemoveFolder(folder_); }

  std::wstring folder_;
  CXmlNode root_;
};

TEST_F(ConfigXmlHelpers, ChildValueRules) {
  const struct {
    const wchar_t* path;
    const wchar_t* text;
    int number;
    bool flag;
  } cases[] = {
      {L"Missing", L"", 0, false},   {L"Abc", L"abc", 0, false},   {L"Lead", L" 12a", 12, false},
      {L"Neg", L"-34", -34, false},  {L"NoValue", L"", 0, false},  {L"Upper", L"TRUE", 0, true},
      {L"One", L"1", 1, false},      {L"Deep/Er", L"yes", 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(CParser::GetChildValueString(root_, c.path), c.text);
    EXPECT_EQ(CParser::GetChildValueInt(root_, c.path), c.number);
    EXPECT_EQ(CParser::GetChildValueBool(root_, c.path), c.flag);
  }
}

TEST_F(ConfigXmlHelpers, NodeRules) {
  const struct {
    const wchar_t* attribute;
    bool flag;
    int number;
  } cases[] = {
      {L"upper", true, 0}, {L"mixed", true, 0}, {L"lower", true, 0},  {L"one", false, 1},
      {L"empty", false, 0}, {L"no", false, 0},  {L"num", false, 42}, {L"bad", false, 0},
  };
  CXmlNode flags = root_.SelectSingleNode(L"Flags");
  ASSERT_TRUE(flags.IsValid());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attribute);
    CXmlNode node = flags.GetAttributeNode(c.attribute);
    ASSERT_TRUE(node.IsValid());
    EXPECT_EQ(node.GetName(), c.attribute);
    EXPECT_EQ(CParser::GetNodeBool(node), c.flag);
    EXPECT_EQ(CParser::GetNodeInt(node), c.number);
  }
  EXPECT_FALSE(flags.GetAttributeNode(L"absent").IsValid());
  EXPECT_FALSE(CParser::GetNodeBool(flags.GetAttributeNode(L"absent")));
}

TEST_F(ConfigXmlHelpers, AttributesEnumerateInDocumentOrder) {
  auto attributes = root_.SelectSingleNode(L"Flags").GetAttributes();
  ASSERT_TRUE(attributes.has_value());
  std::vector<std::wstring> names;
  for (const CXmlNode& a : *attributes) names.push_back(a.GetName());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"upper", L"mixed", L"lower", L"one", L"empty", L"no", L"num", L"bad"}));
  EXPECT_EQ(root_.SelectSingleNode(L"Deep").GetAttributes()->size(), 0u);
  // An attribute node has no attribute collection of its own.
  EXPECT_FALSE(root_.SelectSingleNode(L"Flags").GetAttributeNode(L"one").GetAttributes().has_value());
}

TEST_F(ConfigXmlHelpers, SelectionPathForms) {
  const std::wstring path = configtest::WriteXml(folder_, L"paths.xml",
                                                 "<Root><List><Item Id=\"1\"/><Item Id=\"2\"/></List>"
                                                 "<Other><Language Id=\"1031\" Name=\"Deutsch\"/></Other></Root>");
  CXmlNode root;
  std::wstring error;
  ASSERT_TRUE(CParser::LoadXmlFile(path, root, error)) << error;
  auto items = root.SelectNodes(L"List/Item");
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ((*items)[1].GetAttribute(L"Id"), L"2");
  EXPECT_EQ(root.SelectNodes(L"List/Nothing")->size(), 0u);
  EXPECT_EQ(root.SelectNodes(L"list/item")->size(), 0u);  // names are case-sensitive
  EXPECT_EQ(root.SelectSingleNode(L"//Language[@Id=\"1031\"]").GetAttribute(L"Name"), L"Deutsch");
  EXPECT_FALSE(root.SelectSingleNode(L"//Language[@Id=\"1033\"]").IsValid());
}

// Plain child paths are walked without the XPath engine; they must select
// exactly what the XPath query selects, in the same order.
TEST_F(ConfigXmlHelpers, PlainChildPathsSelectWhatXPathSelects) {
  const std::wstring path = configtest::WriteXml(
      folder_, L"walk.xml",
      "<Root><!-- c --><A n=\"1\"><B n=\"1.1\"/>text<B n=\"1.2\"><B n=\"nested\"/></B><C n=\"1.c\"/></A>"
      "<A n=\"2\"/><X><B n=\"x\"/></X><A n=\"3\"><B n=\"3.1\"/></A><a><B n=\"lower\"/></a>"
      "<x:A xmlns:x=\"urn:x\"><B n=\"prefixed\"/></x:A><Item-1.v2 n=\"dashed\"/></Root>");
  CXmlNode root;
  std::wstring error;
  ASSERT_TRUE(CParser::LoadXmlFile(path, root, error)) << error;
  auto names = [](const std::optional<std::vector<CXmlNode>>& nodes) {
    std::vector<std::wstring> values;
    if (nodes) {
      for (const CXmlNode& node : *nodes) values.push_back(node.GetAttribute(L"n"));
    }
    return values;
  };
  for (const wchar_t* plain :
       {L"A/B", L"A", L"A/B/B", L"A/C", L"X/B", L"Nothing/B", L"a/B", L"Item-1.v2", L"*", L"A/*", L"*/B", L"*/*"}) {
    SCOPED_TRACE(platform::WideToUtf8(plain));
    auto walked = root.SelectNodes(plain);
    ASSERT_TRUE(walked.has_value());
    EXPECT_EQ(names(walked), names(root.SelectNodes(std::wstring(L"./") + plain)));  // "./" forces XPath
  }
  EXPECT_EQ(names(root.SelectNodes(L"A/B")), (std::vector<std::wstring>{L"1.1", L"1.2", L"3.1"}));
}

}  // namespace
