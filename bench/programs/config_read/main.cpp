// Reading a large SetupConfig.xml: the configuration reader against MSXML
// loading and walking the same document with nothing built from it. Both
// sides run in this process, alternately, and the best of several rounds is
// kept so a busy machine does not decide the ratio.

#include <windows.h>
#include <msxml2.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/SetupConfigData.h"
#include "config/SetupConfigParser.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

using platform::ComPtr;
using platform::UniqueBstr;
using platform::UniqueVariant;

namespace {

constexpr int kGroups = 50;
constexpr int kProductsPerGroup = 20;
constexpr int kRounds = 7;

constexpr CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
constexpr IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string GenerateConfig() {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<SetupConfig>\n"
      "<PreCondition><Process List=\"a.exe;b.exe\" Condition=\"NOT Installed\"/></PreCondition>\n"
      "<General><BootstrapperRegistry Value=\"BenchBundle\"/><PathLength Value=\"150\"/>"
      "<Reboot Value=\"true\" InstallMode=\"IMRU\" AccumulateConditionalReboot=\"true\"/>"
      "<Logfile Name=\"C:\\Logs\\Bench.log\" Level=\"DEVELOPERINFO\" Mode=\"OVERWRITE\" MaxLengthOfFile=\"5\"/>"
      "</General>\n"
      "<ImageFiles><Image Name=\"SetupIcon\" FilePath=\"SetupData\\Images\\Setup.ico\"/></ImageFiles>\n"
      "<Brand Name=\"Bench\" Value=\"Bench\" Default=\"true\"><ImageFiles>"
      "<Image Name=\"Banner\" FilePath=\"b.bmp\" VersionText=\"1.0\"/></ImageFiles></Brand>\n"
      "<ProductList>\n";
  for (int g = 0; g < kGroups; ++g) {
    // Groups and products are written out of order so sorting has work to do.
    const int groupSequence = kGroups - g;
    xml += "<ProductGroup DisplayName=\"Group " + std::to_string(groupSequence) + "\" Sequence=\"" +
           std::to_string(groupSequence) + "\" ShowInUI=\"true\">\n";
    for (int p = 0; p < kProductsPerGroup; ++p) {
      const int sequence = kProductsPerGroup - p;
      const std::string id = std::to_string(groupSequence) + "_" + std::to_string(sequence);
      const bool exe = p % 4 == 3;
      xml += "  <Product Sequence=\"" + std::to_string(sequence) + "\" Type=\"" + (exe ? "EXE" : "MSI") +
             "\" ProductName=\"Product " + id + "\" Id=\"{3F2A7C11-5B8E-4D20-9A61-" + std::to_string(100000000000 + g * 100 + p) +
             "}\" Location=\"SetupData\\Packages\\P" + id + (exe ? ".exe" : ".msi") +
             "\" InstallCommand=\"INSTALLDIR=&quot;[InstallDir]P" + id +
             "&quot;\" UninstallCommand=\"REMOVE=ALL\" RepairCommand=\"REINSTALL=ALL\" Condition=\"VersionNT &gt;= 601\""
             " TimeOut=\"600|90\" SpaceRequired=\"12\" Reboot=\"CONDITIONAL\" CheckMSIMutex=\"true\""
             " FailureExitCode=\"Nothing&lt;&gt;1605\" WarningExitCode=\"Restart&lt;&gt;3010\""
             " InformationalExitCode=\"Already&lt;&gt;1638,Newer&lt;&gt;5100\"/>\n";
    }
    xml += "</ProductGroup>\n";
  }
  xml += "</ProductList>\n</SetupConfig>\n";
  return xml;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Visits every element and every attribute value, as a reader that built
// nothing would have to.
long WalkNode(IXMLDOMNode* node) {
  long visited = 1;
  ComPtr<IXMLDOMNamedNodeMap> attributes;
  if (SUCCEEDED(node->get_attributes(attributes.Put())) && attributes) {
    long count = 0;
    attributes->get_length(&count);
    for (long i = 0; i < count; ++i) {
      ComPtr<IXMLDOMNode> attribute;
      if (FAILED(attributes->get_item(i, attribute.Put())) || !attribute) continue;
      UniqueBstr name;
      UniqueVariant value;
      attribute->get_nodeName(name.Put());
      attribute->get_nodeValue(value.Put());
      ++visited;
    }
  }
  ComPtr<IXMLDOMNodeList> children;
  if (SUCCEEDED(node->get_childNodes(children.Put())) && children) {
    long count = 0;
    children->get_length(&count);
    for (long i = 0; i < count; ++i) {
      ComPtr<IXMLDOMNode> child;
      if (FAILED(children->get_item(i, child.Put())) || !child) continue;
      DOMNodeType type = NODE_INVALID;
      child->get_nodeType(&type);
      if (type == NODE_ELEMENT) visited += WalkNode(child.Get());
    }
  }
  return visited;
}

bool LoadAndWalk(const std::wstring& path, long& visited) {
  ComPtr<IXMLDOMDocument> document;
  if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, kIidXmlDomDocument, document.PutVoid()))) {
    return false;
  }
  document->put_async(VARIANT_FALSE);
  UniqueVariant source;
  VARIANT* value = source.Put();
  value->vt = VT_BSTR;
  value->bstrVal = ::SysAllocString(path.c_str());
  VARIANT_BOOL loaded = VARIANT_FALSE;
  if (FAILED(document->load(*value, &loaded)) || loaded != VARIANT_TRUE) return false;
  ComPtr<IXMLDOMElement> root;
  if (FAILED(document->get_documentElement(root.Put())) || !root) return false;
  visited = WalkNode(root.Get());
  return true;
}

bool ReadWithModel(const std::wstring& path, int& products) {
  CSetupConfigData record;
  CSetupConfigParser parser(record, record);
  if (!parser.StartParse(path)) return false;
  products = 0;
  IProductGroupList* groups = record.GetProductGroupList();
  if (!groups) return false;
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    if (IProductList* list = group->GetProductList()) products += list->GetCount();
  }
  return true;
}

}  // namespace

int wmain() {
  platform::ComInitializer com;
  if (!com.Succeeded()) return 1;

  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"bench-SetupConfig.xml";
  const std::string xml = GenerateConfig();
  {
    platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.IsValid() || !::WriteFile(file.Get(), xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr)) {
      std::fprintf(stderr, "cannot write %ls\n", path.c_str());
      return 1;
    }
  }

  double bestModel = 1e300;
  double bestMsxml = 1e300;
  int productsRead = 0;
  long visited = 0;
  for (int round = 0; round < kRounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    if (!LoadAndWalk(path, visited)) {
      std::fprintf(stderr, "MSXML could not load the generated file\n");
      return 1;
    }
    bestMsxml = std::min(bestMsxml, MillisecondsSince(start));

    start = std::chrono::steady_clock::now();
    if (!ReadWithModel(path, productsRead)) {
      std::fprintf(stderr, "the configuration reader failed on the generated file\n");
      return 1;
    }
    bestModel = std::min(bestModel, MillisecondsSince(start));
  }
  ::DeleteFileW(path.c_str());

  std::printf("document: %d groups, %d products, %zu bytes, %ld elements and attributes\n", kGroups,
              kGroups * kProductsPerGroup, xml.size(), visited);
  std::printf("products in the model: %d\n", productsRead);
  std::printf("configuration reader (load + model), best of %d: %.1f ms\n", kRounds, bestModel);
  std::printf("MSXML load + walk, best of %d: %.1f ms\n", kRounds, bestMsxml);
  std::printf("ratio: %.3f\n", bestModel / bestMsxml);
  return 0;
}
