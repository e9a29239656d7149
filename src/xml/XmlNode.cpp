#include "xml/XmlNode.h"

#include <utility>

#include "platform/StringUtil.h"

using platform::ComPtr;
using platform::UniqueBstr;
using platform::UniqueVariant;

namespace {

UniqueBstr MakeBstr(const std::wstring& text) {
  return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

std::wstring FromBstr(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

// Attribute values arrive as BSTR variants; null (elements) reads as empty text.
std::wstring FromVariant(const VARIANT& value) {
  if (value.vt == VT_BSTR) return FromBstr(value.bstrVal);
  if (value.vt == VT_NULL || value.vt == VT_EMPTY) return {};
  UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.Put(), const_cast<VARIANT*>(&value), 0, VT_BSTR)) || converted.Get().vt != VT_BSTR) return {};
  return FromBstr(converted.Get().bstrVal);
}

// A relative path of plain element names ("A/B"), a step "*" standing for
// every element child: the shapes the readers use.
bool IsPlainChildPath(const std::wstring& path) {
  if (path.empty() || path.front() == L'/' || path.back() == L'/') return false;
  for (size_t i = 0; i < path.size(); ++i) {
    const wchar_t c = path[i];
    if (c == L'*') {
      const bool wholeStep = (i == 0 || path[i - 1] == L'/') && (i + 1 == path.size() || path[i + 1] == L'/');
      if (!wholeStep) return false;
      continue;
    }
    const bool nameChar = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' ||
                          (i > 0 && path[i - 1] != L'/' && ((c >= L'0' && c <= L'9') || c == L'-' || c == L'.'));
    if (!nameChar && !(c == L'/' && path[i - 1] != L'/')) return false;
  }
  return true;
}

// Appends the element children of `parent` named `name` ("*": all of them), in document order.
bool AppendNamedChildren(IXMLDOMNode* parent, const std::wstring& name, std::vector<ComPtr<IXMLDOMNode>>& out) {
  ComPtr<IXMLDOMNode> child;
  if (FAILED(parent->get_firstChild(child.Put()))) return false;
  while (child) {
    DOMNodeType type = NODE_INVALID;
    if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT) {
      UniqueBstr childName;
      if (name == L"*") {
        out.push_back(child);
      } else if (SUCCEEDED(child->get_nodeName(childName.Put())) && childName &&
                 name.compare(0, std::wstring::npos, childName.Get(), ::SysStringLen(childName.Get())) == 0) {
        out.push_back(child);
      }
    }
    ComPtr<IXMLDOMNode> next;
    if (FAILED(child->get_nextSibling(next.Put()))) return false;
    child = std::move(next);
  }
  return true;
}

}  // namespace

CXmlNode::CXmlNode(ComPtr<IXMLDOMNode> node, ComPtr<IXMLDOMDocument> document)
    : node_(std::move(node)), document_(std::move(document)) {}

std::wstring CXmlNode::GetName() const {
  if (!node_) return {};
  UniqueBstr name;
  if (FAILED(node_->get_nodeName(name.Put()))) return {};
  return FromBstr(name.Get());
}

std::wstring CXmlNode::GetValue() const {
  if (!node_) return {};
  UniqueVariant value;
  if (FAILED(node_->get_nodeValue(value.Put()))) return {};
  return FromVariant(value.Get());
}

std::wstring CXmlNode::GetText() const {
  if (!node_) return {};
  UniqueBstr text;
  if (FAILED(node_->get_text(text.Put()))) return {};
  return FromBstr(text.Get());
}

std::optional<std::vector<CXmlNode>> CXmlNode::SelectNodes(const std::wstring& path) const {
  if (!node_) return std::nullopt;
  // Plain child paths are walked directly: the parser compiles every XPath
  // query anew, which dominated reading a bundle with many products.
  if (IsPlainChildPath(path)) {
    std::vector<ComPtr<IXMLDOMNode>> level{node_};
    for (const std::wstring& name : platform::Split(path, L"/")) {
      std::vector<ComPtr<IXMLDOMNode>> next;
      for (const ComPtr<IXMLDOMNode>& parent : level) {
        if (!AppendNamedChildren(parent.Get(), name, next)) return std::nullopt;
      }
      level = std::move(next);
    }
    std::vector<CXmlNode> nodes;
    nodes.reserve(level.size());
    for (ComPtr<IXMLDOMNode>& item : level) nodes.emplace_back(std::move(item), document_);
    return nodes;
  }
  UniqueBstr query = MakeBstr(path);
  ComPtr<IXMLDOMNodeList> list;
  if (FAILED(node_->selectNodes(query.Get(), list.Put())) || !list) return std::nullopt;
  long length = 0;
  if (FAILED(list->get_length(&length))) return std::nullopt;
  std::vector<CXmlNode> nodes;
  nodes.reserve(static_cast<size_t>(length > 0 ? length : 0));
  for (long i = 0; i < length; ++i) {
    ComPtr<IXMLDOMNode> item;
    if (FAILED(list->get_item(i, item.Put())) || !item) return std::nullopt;
    nodes.emplace_back(std::move(item), document_);
  }
  return nodes;
}

CXmlNode CXmlNode::SelectSingleNode(const std::wstring& path) const {
  if (!node_) return {};
  UniqueBstr query = MakeBstr(path);
  ComPtr<IXMLDOMNode> found;
  if (FAILED(node_->selectSingleNode(query.Get(), found.Put())) || !found) return {};
  return CXmlNode(std::move(found), document_);
}

std::optional<std::vector<CXmlNode>> CXmlNode::GetAttributes() const {
  if (!node_) return std::nullopt;
  ComPtr<IXMLDOMNamedNodeMap> map;
  if (FAILED(node_->get_attributes(map.Put())) || !map) return std::nullopt;
  long length = 0;
  if (FAILED(map->get_length(&length))) return std::nullopt;
  std::vector<CXmlNode> attributes;
  attributes.reserve(static_cast<size_t>(length > 0 ? length : 0));
  for (long i = 0; i < length; ++i) {
    ComPtr<IXMLDOMNode> item;
    if (FAILED(map->get_item(i, item.Put())) || !item) return std::nullopt;
    attributes.emplace_back(std::move(item), document_);
  }
  return attributes;
}

ComPtr<IXMLDOMElement> CXmlNode::AsElement() const {
  ComPtr<IXMLDOMElement> element;
  if (node_ && FAILED(node_->QueryInterface(IID_IXMLDOMElement, element.PutVoid()))) element.Reset();
  return element;
}

std::wstring CXmlNode::GetAttribute(const std::wstring& name) const {
  ComPtr<IXMLDOMElement> element = AsElement();
  if (!element) return {};
  UniqueBstr attributeName = MakeBstr(name);
  UniqueVariant value;
  if (FAILED(element->getAttribute(attributeName.Get(), value.Put()))) return {};
  return FromVariant(value.Get());
}

CXmlNode CXmlNode::GetAttributeNode(const std::wstring& name) const {
  ComPtr<IXMLDOMElement> element = AsElement();
  if (!element) return {};
  UniqueBstr attributeName = MakeBstr(name);
  ComPtr<IXMLDOMAttribute> attribute;
  if (FAILED(element->getAttributeNode(attributeName.Get(), attribute.Put())) || !attribute) return {};
  ComPtr<IXMLDOMNode> node;
  if (FAILED(attribute->QueryInterface(IID_IXMLDOMNode, node.PutVoid())) || !node) return {};
  return CXmlNode(std::move(node), document_);
}
