#include "xml/Parser.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"

using platform::ComPtr;
using platform::UniqueBstr;
using platform::UniqueVariant;

namespace {

// The version-independent DOM document of the Windows XML parser and its
// interface; spelled out here because the SDK headers bind other versions to
// the usual names.
constexpr CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
constexpr IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

bool IsExistingFile(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The returned nodes need COM on this thread after we return, so a first
// initialisation stays in force; a repeated one is balanced at once so the
// thread's count does not grow with every file. A thread already in the
// multithreaded apartment can use the parser as it is.
bool EnsureComForThisThread() {
  HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (hr == S_FALSE) ::CoUninitialize();
  return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

std::wstring ParseErrorText(IXMLDOMDocument* document, const std::wstring& filePath) {
  long line = 0;
  std::wstring reason;
  ComPtr<IXMLDOMParseError> parseError;
  if (SUCCEEDED(document->get_parseError(parseError.Put())) && parseError) {
    if (FAILED(parseError->get_line(&line))) line = 0;
    UniqueBstr reasonText;
    if (SUCCEEDED(parseError->get_reason(reasonText.Put())) && reasonText) {
      reason.assign(reasonText.Get(), ::SysStringLen(reasonText.Get()));
    }
  }
  return platform::Format(L"Xml Parse Error information : File name: %s\n Line Number: %ld \n Reason For Failure : %s",
                          filePath.c_str(), line, reason.c_str());
}

}  // namespace

bool CParser::LoadXmlFile(const std::wstring& filePath, CXmlNode& root, std::wstring& errorText) {
  if (!IsExistingFile(filePath)) {
    errorText = platform::Format(L"CParser::LoadXmlFile() - Could not find the file path %s .", filePath.c_str());
    return false;
  }
  return LoadXml(filePath, false, root, errorText);
}

bool CParser::LoadXmlText(const std::wstring& text, CXmlNode& root, std::wstring& errorText) {
  return LoadXml(text, true, root, errorText);
}

bool CParser::LoadXml(const std::wstring& source, bool isText, CXmlNode& root, std::wstring& errorText) {
  if (!EnsureComForThisThread()) {
    errorText = L"Unable to initialize COM using CoInitializeEx";
    return false;
  }
  ComPtr<IXMLDOMDocument> document;
  if (FAILED(::CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_ALL, kIidXmlDomDocument, document.PutVoid())) ||
      !document) {
    errorText = L"Unable to create XML parser object.";
    return false;
  }
  // The parser's default is to load asynchronously, which may hand back a
  // document that is still being read; configuration files are read whole.
  if (FAILED(document->put_async(VARIANT_FALSE))) {
    errorText = L"Unable to create XML parser object.";
    return false;
  }

  VARIANT_BOOL loaded = VARIANT_FALSE;
  if (isText) {
    UniqueBstr text(::SysAllocStringLen(source.data(), static_cast<UINT>(source.size())));
    if (!text || FAILED(document->loadXML(text.Get(), &loaded)) || loaded != VARIANT_TRUE) {
      errorText = ParseErrorText(document.Get(), L"");
      return false;
    }
  } else {
    // Read through a stream on the file rather than by its path: a path is
    // bound as a URL moniker, which costs more than the reading itself. The
    // parser still detects the encoding from the bytes.
    ComPtr<IStream> stream;
    if (FAILED(::SHCreateStreamOnFileEx(source.c_str(), STGM_READ | STGM_SHARE_DENY_NONE, FILE_ATTRIBUTE_NORMAL, FALSE,
                                        nullptr, stream.Put())) ||
        !stream) {
      errorText = platform::Format(L"CParser::LoadXmlFile() - Could not open the file %s .", source.c_str());
      return false;
    }
    UniqueVariant file;
    VARIANT* fileValue = file.Put();
    fileValue->vt = VT_UNKNOWN;
    fileValue->punkVal = stream.Get();
    fileValue->punkVal->AddRef();
    if (FAILED(document->load(*fileValue, &loaded)) || loaded != VARIANT_TRUE) {
      errorText = ParseErrorText(document.Get(), source);
      return false;
    }
  }

  ComPtr<IXMLDOMElement> element;
  if (FAILED(document->get_documentElement(element.Put())) || !element) return false;
  ComPtr<IXMLDOMNode> node;
  if (FAILED(element->QueryInterface(IID_IXMLDOMNode, node.PutVoid())) || !node) return false;
  root = CXmlNode(std::move(node), std::move(document));
  return true;
}

bool CParser::IsTrueText(const std::wstring& text) {
  return platform::EqualsNoCase(text, L"true") || platform::EqualsNoCase(text, L"yes");
}

int CParser::GetNodeInt(const CXmlNode& node) { return platform::ToInt(node.GetValue()); }

bool CParser::GetNodeBool(const CXmlNode& node) { return IsTrueText(node.GetValue()); }

std::wstring CParser::GetChildValueString(const CXmlNode& context, const std::wstring& path) {
  CXmlNode child = context.SelectSingleNode(path);
  return child ? child.GetAttribute(L"Value") : std::wstring();
}

int CParser::GetChildValueInt(const CXmlNode& context, const std::wstring& path) {
  return platform::ToInt(GetChildValueString(context, path));
}

bool CParser::GetChildValueBool(const CXmlNode& context, const std::wstring& path) {
  try {
    return IsTrueText(GetChildValueString(context, path));
  } catch (...) {
    return false;
  }
}
