#include "config/XmlNode.h"

#include <utility>

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
