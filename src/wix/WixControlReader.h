#pragma once
// Reads one WiX Control element into a CWixControl: geometry, texts, the
// Windows Installer attribute word of its kind, items and radio buttons,
// and its Publish, Subscribe and Condition children.

#include <memory>
#include <string>

#include "xml/XmlNode.h"
#include "wix/WixControl.h"

class IWixLocalizationList;
class IWixRectConverter;

class CWixControlReader {
 public:
  CWixControlReader(const IWixLocalizationList* strings, const IWixRectConverter& converter);

  // Null (with the reason logged) when the control has no Id or its Type is
  // not a control type this reader knows.
  [[nodiscard]] std::unique_ptr<CWixControl> ReadControl(const CXmlNode& element, const std::wstring& dialogId) const;

  // Control type by WiX name; kWixUnknownControl for other names.
  [[nodiscard]] static int GetControlType(const std::wstring& name);
  // The Control table bit of a style attribute for a control kind; 0 when
  // the attribute is not a style of that kind.
  [[nodiscard]] static int GetAttributeBit(const std::wstring& name, int type);
  [[nodiscard]] static int GetSubscribeEvent(const std::wstring& name);
  [[nodiscard]] static int GetSubscribeAttribute(const std::wstring& name);
  // -1 for an action other than show, hide, enable and disable.
  [[nodiscard]] static int GetConditionAction(const std::wstring& name);
  // Publish element to control event; a Property publish becomes "[Property]".
  [[nodiscard]] static WixPublish ReadPublish(const CXmlNode& element);

 private:
  void ReadAttributes(const CXmlNode& element, const std::wstring& dialogId, CWixControl& control) const;
  void ReadChildren(const CXmlNode& element, CWixControl& control) const;
  void ReadListItems(const CXmlNode& element, CWixControl& control, const wchar_t* listElement) const;
  void ReadRadioButtons(const CXmlNode& element, CWixControl& control) const;
  [[nodiscard]] std::wstring Resolve(const std::wstring& text) const;

  const IWixLocalizationList* strings_;
  const IWixRectConverter& converter_;
};
