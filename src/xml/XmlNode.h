#pragma once
// One node of a loaded XML document (element or attribute). All COM plumbing of
// the configuration readers lives behind this class, so the readers only see
// strings, vectors and optional results. A node keeps its document alive.

#include <windows.h>
#include <msxml.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueResource.h"

class CXmlNode {
 public:
  CXmlNode() = default;
  CXmlNode(platform::ComPtr<IXMLDOMNode> node, platform::ComPtr<IXMLDOMDocument> document);

  // False for the "none" node that failed look-ups return.
  [[nodiscard]] bool IsValid() const { return static_cast<bool>(node_); }
  explicit operator bool() const { return IsValid(); }

  // The node's name (element or attribute name).
  [[nodiscard]] std::wstring GetName() const;
  // The node's value as text: an attribute's value; empty for elements.
  [[nodiscard]] std::wstring GetValue() const;
  // The text content of the node and its descendants.
  [[nodiscard]] std::wstring GetText() const;

  // Every element matching a relative path, in document order. Nullopt only
  // when the query itself fails (for example a malformed path or an invalid node);
  // no match gives an empty vector.
  [[nodiscard]] std::optional<std::vector<CXmlNode>> SelectNodes(const std::wstring& path) const;
  // The first node matching the path, or an invalid node.
  [[nodiscard]] CXmlNode SelectSingleNode(const std::wstring& path) const;

  // The attribute nodes in document order; nullopt when the node has no
  // attribute collection at all (anything but an element).
  [[nodiscard]] std::optional<std::vector<CXmlNode>> GetAttributes() const;
  // The value of a named attribute; empty when it is missing.
  [[nodiscard]] std::wstring GetAttribute(const std::wstring& name) const;
  // The attribute node, or an invalid node when it is missing.
  [[nodiscard]] CXmlNode GetAttributeNode(const std::wstring& name) const;

 private:
  [[nodiscard]] platform::ComPtr<IXMLDOMElement> AsElement() const;

  platform::ComPtr<IXMLDOMNode> node_;
  platform::ComPtr<IXMLDOMDocument> document_;
};
