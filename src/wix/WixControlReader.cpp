#include "wix/WixControlReader.h"

#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "config/IWixLocalizationList.h"
#include "wix/IWixRectConverter.h"
#include "wix/LocReference.h"

namespace {

// Index = control type number; 17 is not a control.
constexpr const wchar_t* kControlTypeNames[] = {
    L"Billboard", L"Bitmap",      L"CheckBox",    L"ComboBox",   L"DirectoryCombo",   L"DirectoryList",
    L"Edit",      L"GroupBox",    L"Icon",        L"Line",       L"ListBox",          L"ListView",
    L"MaskedEdit", L"PathEdit",   L"ProgressBar", L"PushButton", L"RadioButtonGroup", nullptr,
    L"ScrollableText", L"SelectionTree", L"Text", L"VolumeCostList", L"VolumeSelectCombo"};

constexpr const wchar_t* kSubscribeEvents[] = {L"ActionData",       L"ActionText",    L"SetProgress",
                                               L"IgnoreChange",     L"SelectionNoItems", L"SelectionPath",
                                               L"SelectionPathOn",  L"SelectionDescription", L"SelectionSize"};
constexpr const wchar_t* kSubscribeAttributes[] = {L"Enabled", L"Visible", L"Text", L"Progress", L"IgnoreChange"};
constexpr const wchar_t* kConditionActions[] = {L"show", L"hide", L"enable", L"disable"};

constexpr unsigned Kind(int type) { return 1u << type; }
constexpr unsigned kAllKinds = 0xFFFFFFFFu;
constexpr unsigned kVolumeKinds = Kind(kWixDirectoryCombo) | Kind(kWixVolumeCostList) | Kind(kWixVolumeSelectCombo);
constexpr unsigned kIconSizedKinds =
    Kind(kWixPushButton) | Kind(kWixCheckBox) | Kind(kWixRadioButtonGroup) | Kind(kWixIcon) | Kind(kWixListView);
constexpr unsigned kPictureButtonKinds = Kind(kWixPushButton) | Kind(kWixCheckBox) | Kind(kWixRadioButtonGroup);

struct StyleBit {
  const wchar_t* name;
  int bit;
  unsigned kinds;
};

// The Windows Installer Control table bits, by the kinds each applies to.
constexpr StyleBit kStyleBits[] = {
    {L"Sunken", wixbits::kSunken, kAllKinds},
    {L"Indirect", wixbits::kIndirect, kAllKinds},
    {L"Integer", wixbits::kInteger, kAllKinds},
    {L"RightToLeft", wixbits::kRightToLeft, kAllKinds},
    {L"RightAligned", wixbits::kRightAligned, kAllKinds},
    {L"LeftScroll", wixbits::kLeftScroll, kAllKinds},
    {L"Transparent", wixbits::kTransparent, Kind(kWixText)},
    {L"NoPrefix", wixbits::kNoPrefix, Kind(kWixText)},
    {L"NoWrap", wixbits::kNoWrap, Kind(kWixText)},
    {L"FormatSize", wixbits::kFormatSize, Kind(kWixText)},
    {L"UserLanguage", wixbits::kUsersLanguage, Kind(kWixText) | Kind(kWixListBox)},
    {L"Multiline", wixbits::kMultiline, Kind(kWixEdit)},
    {L"Password", wixbits::kPassword, Kind(kWixEdit)},
    {L"ProgressBlocks", wixbits::kProgress95, Kind(kWixProgressBar)},
    {L"Removable", wixbits::kRemovableVolume, kVolumeKinds},
    {L"Fixed", wixbits::kFixedVolume, kVolumeKinds},
    {L"Remote", wixbits::kRemoteVolume, kVolumeKinds},
    {L"CDROM", wixbits::kCDROMVolume, kVolumeKinds},
    {L"RAMDisk", wixbits::kRAMDiskVolume, kVolumeKinds},
    {L"Floppy", wixbits::kFloppyVolume, kVolumeKinds},
    {L"ShowRollbackCost", wixbits::kShowRollbackCost, kVolumeKinds},
    {L"Sorted", wixbits::kSorted, Kind(kWixListBox) | Kind(kWixComboBox) | Kind(kWixListView)},
    {L"ComboList", wixbits::kComboList, Kind(kWixComboBox)},
    {L"Image", wixbits::kImageHandle,
     Kind(kWixPushButton) | Kind(kWixRadioButtonGroup) | Kind(kWixBitmap) | Kind(kWixIcon)},
    {L"PushLike", wixbits::kPushLike, Kind(kWixCheckBox) | Kind(kWixRadioButtonGroup)},
    {L"Bitmap", wixbits::kBitmap, kPictureButtonKinds},
    {L"Icon", wixbits::kIcon, kPictureButtonKinds},
    {L"FixedSize", wixbits::kFixedSize, kIconSizedKinds | Kind(kWixBitmap)},
    {L"ElevationShield", wixbits::kElevationShield, Kind(kWixPushButton)},
    {L"HasBorder", wixbits::kHasBorder, Kind(kWixRadioButtonGroup)},
};

template <size_t N>
int IndexOf(const wchar_t* const (&names)[N], const std::wstring& name) {
  for (size_t i = 0; i < N; ++i) {
    if (names[i] != nullptr && name == names[i]) return static_cast<int>(i);
  }
  return -1;
}

bool IsYes(const std::wstring& value) { return value == L"yes"; }

int IconSizeBits(int size) {
  switch (size) {
    case 16:
      return wixbits::kIconSize16;
    case 32:
      return wixbits::kIconSize32;
    case 48:
      return wixbits::kIconSize48;
    default:
      return 0;
  }
}

// A property name goes into a query between double quotes; one holding a
// quote cannot name a WiX property and is not queried.
bool IsQueryableProperty(const std::wstring& property) {
  return !property.empty() && property.find(L'"') == std::wstring::npos;
}

}  // namespace

CWixControlReader::CWixControlReader(const IWixLocalizationList* strings, const IWixRectConverter& converter)
    : strings_(strings), converter_(converter) {}

int CWixControlReader::GetControlType(const std::wstring& name) {
  int type = IndexOf(kControlTypeNames, name);
  return type >= 0 ? type : kWixUnknownControl;
}

int CWixControlReader::GetAttributeBit(const std::wstring& name, int type) {
  if (type < 0) return 0;
  for (const StyleBit& entry : kStyleBits) {
    if (name == entry.name) return (entry.kinds & Kind(type)) != 0 ? entry.bit : 0;
  }
  return 0;
}

int CWixControlReader::GetSubscribeEvent(const std::wstring& name) { return IndexOf(kSubscribeEvents, name); }

int CWixControlReader::GetSubscribeAttribute(const std::wstring& name) { return IndexOf(kSubscribeAttributes, name); }

int CWixControlReader::GetConditionAction(const std::wstring& name) {
  return IndexOf(kConditionActions, platform::ToLower(name));
}

std::wstring CWixControlReader::Resolve(const std::wstring& text) const { return ResolveLocReference(strings_, text); }

WixPublish CWixControlReader::ReadPublish(const CXmlNode& element) {
  WixPublish publish;
  std::wstring property = element.GetAttribute(L"Property");
  if (!property.empty()) {
    publish.event = L"[" + property + L"]";
    publish.isPropertyAssignment = true;
  } else {
    publish.event = element.GetAttribute(L"Event");
  }
  publish.argument = element.GetAttribute(L"Value");
  publish.condition = element.GetText();
  return publish;
}

std::unique_ptr<CWixControl> CWixControlReader::ReadControl(const CXmlNode& element,
                                                            const std::wstring& dialogId) const {
  const std::wstring id = element.GetAttribute(L"Id");
  if (id.empty()) {
    LogError(L"CWixControlReader::ReadControl() - A control of the dialog %s has no Id.", dialogId.c_str());
    return nullptr;
  }
  const std::wstring typeName = element.GetAttribute(L"Type");
  int type = GetControlType(typeName);
  if (type == kWixUnknownControl) {
    LogError(L"CWixControlReader::ReadControl() - Unknown control type \"%s\" of the control %s in the dialog %s.",
             typeName.c_str(), id.c_str(), dialogId.c_str());
    return nullptr;
  }
  auto control = std::make_unique<CWixControl>(id, type);
  ReadAttributes(element, dialogId, *control);
  if (type == kWixComboBox) ReadListItems(element, *control, L"ComboBox");
  if (type == kWixListBox) ReadListItems(element, *control, L"ListBox");
  if (type == kWixRadioButtonGroup) ReadRadioButtons(element, *control);
  ReadChildren(element, *control);
  return control;
}

void CWixControlReader::ReadAttributes(const CXmlNode& element, const std::wstring& dialogId,
                                       CWixControl& control) const {
  auto attributes = element.GetAttributes();
  if (!attributes) return;
  const int type = control.GetType();
  int x = 0, y = 0, width = 0, height = 0;
  int word = wixbits::kVisible | wixbits::kEnabled;
  bool imageButton = type == kWixBitmap || type == kWixIcon;
  std::wstring text;
  std::wstring style;
  for (const CXmlNode& attribute : *attributes) {
    const std::wstring name = attribute.GetName();
    const std::wstring value = attribute.GetValue();
    if (name == L"X") {
      x = platform::ToInt(value);
    } else if (name == L"Y") {
      y = platform::ToInt(value);
    } else if (name == L"Width") {
      width = platform::ToInt(value);
    } else if (name == L"Height") {
      height = platform::ToInt(value);
    } else if (name == L"Text") {
      text = SplitStyledText(strings_, value, style);
    } else if (name == L"ToolTip") {
      control.SetToolTip(Resolve(value));
    } else if (name == L"Property" || (name == L"CheckBoxPropertyRef" && control.GetProperty().empty())) {
      control.SetProperty(value);
    } else if (name == L"Default") {
      control.SetDefault(IsYes(value));
    } else if (name == L"Cancel") {
      control.SetCancel(IsYes(value));
    } else if (name == L"TabSkip") {
      control.SetTabSkip(IsYes(value));
    } else if (name == L"Hidden") {
      if (IsYes(value)) word &= ~wixbits::kVisible;
    } else if (name == L"Disabled") {
      if (IsYes(value)) word &= ~wixbits::kEnabled;
    } else if (name == L"CheckBoxValue") {
      control.SetCheckBoxValue(value);
    } else if (name == L"IconSize") {
      if ((kIconSizedKinds & Kind(type)) != 0) word |= IconSizeBits(platform::ToInt(value));
    } else if (IsYes(value)) {
      const int bit = GetAttributeBit(name, type);
      word |= bit;
      // The picture bits are the same numbers as volume kinds and Text styles
      // (Remote, CDROM, NoWrap, FormatSize): only the names make a picture.
      if (bit != 0 && (name == L"Bitmap" || name == L"Icon")) imageButton = true;
    }
  }
  // The language may move, resize or retitle the control (a "UI" element of
  // its localization file).
  WixControlOverride localized;
  if (strings_ != nullptr && strings_->FindControlOverride(dialogId, control.GetId(), localized)) {
    x = localized.x.value_or(x);
    y = localized.y.value_or(y);
    width = localized.width.value_or(width);
    height = localized.height.value_or(height);
    if (localized.text) text = SplitStyledText(strings_, *localized.text, style);
  } else {
    LogDebug(L"Could not find the Wix control language attributes");
  }
  control.SetRect(converter_.ScaleRect(RECT{x, y, x + width, y + height}));
  control.SetText(text, style);
  control.SetAttributes(word);
  // Pictures name their Binary entry in the text.
  if (imageButton) control.SetImageId(text);
}

void CWixControlReader::ReadChildren(const CXmlNode& element, CWixControl& control) const {
  auto children = element.SelectNodes(L"*");
  if (!children) return;
  for (const CXmlNode& child : *children) {
    const std::wstring name = child.GetName();
    if (name == L"Publish") {
      control.AddPublish(ReadPublish(child));
    } else if (name == L"Subscribe") {
      WixSubscribe subscribe;
      subscribe.eventName = child.GetAttribute(L"Event");
      subscribe.attributeName = child.GetAttribute(L"Attribute");
      subscribe.event = GetSubscribeEvent(subscribe.eventName);
      subscribe.attribute = GetSubscribeAttribute(subscribe.attributeName);
      control.AddSubscribe(std::move(subscribe));
    } else if (name == L"Condition") {
      int action = GetConditionAction(child.GetAttribute(L"Action"));
      if (action >= 0) control.AddCondition(WixCondition{action, child.GetText()});
    } else if (name == L"Text") {
      // A Text child holds the text a Text attribute would, or names the file
      // it is in (a scrollable text's rich text); the file is read by the
      // source reader once its path is bound.
      const std::wstring source = child.GetAttribute(L"SourceFile");
      if (!source.empty()) {
        control.SetTextSourceFile(source);
      } else if (control.GetText().empty()) {
        std::wstring style;
        std::wstring text = SplitStyledText(strings_, child.GetText(), style);
        control.SetText(text, style);
      }
    }
  }
}

void CWixControlReader::ReadListItems(const CXmlNode& element, CWixControl& control,
                                      const wchar_t* listElement) const {
  if (!IsQueryableProperty(control.GetProperty())) return;
  // Lists are authored beside the dialogs, under the same UI element.
  auto items = element.SelectNodes(
      platform::Format(L"../../%s[@Property=\"%s\"]/ListItem", listElement, control.GetProperty().c_str()));
  if (!items) return;
  for (const CXmlNode& item : *items) {
    control.AddItem(WixListItem{item.GetAttribute(L"Value"), Resolve(item.GetAttribute(L"Text"))});
  }
}

void CWixControlReader::ReadRadioButtons(const CXmlNode& element, CWixControl& control) const {
  if (!IsQueryableProperty(control.GetProperty())) return;
  auto buttons = element.SelectNodes(
      platform::Format(L"//RadioButtonGroup[@Property=\"%s\"]/RadioButton", control.GetProperty().c_str()));
  if (!buttons) return;
  for (const CXmlNode& button : *buttons) {
    int x = platform::ToInt(button.GetAttribute(L"X"));
    int y = platform::ToInt(button.GetAttribute(L"Y"));
    int width = platform::ToInt(button.GetAttribute(L"Width"));
    int height = platform::ToInt(button.GetAttribute(L"Height"));
    WixRadioButton radio;
    radio.value = button.GetAttribute(L"Value");
    radio.text = SplitStyledText(strings_, button.GetAttribute(L"Text"), radio.textStyle);
    radio.toolTip = Resolve(button.GetAttribute(L"ToolTip"));
    radio.rect = converter_.ScaleRect(RECT{x, y, x + width, y + height});
    control.AddRadioButton(std::move(radio));
  }
}
