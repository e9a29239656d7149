#pragma once
// One control of a WiX dialog, as read from the sources: geometry in pixels of
// this screen, localized texts, the Windows Installer attribute word, and what
// it publishes, subscribes to and is conditioned on.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "wix/WixControlAttributes.h"

// Numbers shared with the style kinds of the wizard; 17 is not a control.
enum WixControlType : int {
  kWixUnknownControl = -1,
  kWixBillboard = 0,
  kWixBitmap = 1,
  kWixCheckBox = 2,
  kWixComboBox = 3,
  kWixDirectoryCombo = 4,
  kWixDirectoryList = 5,
  kWixEdit = 6,
  kWixGroupBox = 7,
  kWixIcon = 8,
  kWixLine = 9,
  kWixListBox = 10,
  kWixListView = 11,
  kWixMaskedEdit = 12,
  kWixPathEdit = 13,
  kWixProgressBar = 14,
  kWixPushButton = 15,
  kWixRadioButtonGroup = 16,
  kWixScrollableText = 18,
  kWixSelectionTree = 19,
  kWixText = 20,
  kWixVolumeCostList = 21,
  kWixVolumeSelectCombo = 22,
};

// Subscription events and attributes as the control events number them.
enum WixSubscribeEvent : int {
  kSubscribeUnknown = -1,
  kSubscribeActionData = 0,
  kSubscribeActionText = 1,
  kSubscribeSetProgress = 2,
  kSubscribeIgnoreChange = 3,
  kSubscribeSelectionNoItems = 4,
  kSubscribeSelectionPath = 5,
  kSubscribeSelectionPathOn = 6,
  kSubscribeSelectionDescription = 7,
  kSubscribeSelectionSize = 8,
};

enum WixSubscribeAttribute : int {
  kSubscribeAttributeUnknown = -1,
  kSubscribeEnabled = 0,
  kSubscribeVisible = 1,
  kSubscribeText = 2,
  kSubscribeProgress = 3,
  kSubscribeAttributeIgnoreChange = 4,
};

enum WixConditionAction : int {
  kConditionShow = 0,
  kConditionHide = 1,
  kConditionEnable = 2,
  kConditionDisable = 3,
};

struct WixListItem {
  std::wstring value;
  std::wstring text;
};

struct WixRadioButton {
  std::wstring value;
  std::wstring text;
  std::wstring textStyle;  // "{\\Style}" leading the text, taken off it
  std::wstring toolTip;
  RECT rect{};  // pixels, relative to the group
};

// A control event. A property assignment (WiX Publish with Property) has the
// property name in brackets as its event and the flag set.
struct WixPublish {
  std::wstring event;
  std::wstring argument;
  std::wstring condition;
  bool isPropertyAssignment = false;
};

struct WixSubscribe {
  int event = kSubscribeUnknown;
  int attribute = kSubscribeAttributeUnknown;
  std::wstring eventName;
  std::wstring attributeName;
};

struct WixCondition {
  int action = kConditionShow;
  std::wstring condition;
};

class CWixControl : public IButtonControlAttributes,
                    public IEditControlAttributes,
                    public IIconControlAttributes,
                    public IDirectoryComboAttributes,
                    public ICheckBoxAttributes {
 public:
  CWixControl(const std::wstring& id, int type);
  virtual ~CWixControl() = default;
  CWixControl(const CWixControl&) = delete;
  CWixControl& operator=(const CWixControl&) = delete;

  [[nodiscard]] const std::wstring& GetId() const { return id_; }
  [[nodiscard]] int GetType() const { return type_; }
  [[nodiscard]] const RECT& GetRect() const { return rect_; }
  [[nodiscard]] const std::wstring& GetText() const { return text_; }
  // The text style named at the start of the text ("{\Name}"), if any.
  [[nodiscard]] const std::wstring& GetTextStyle() const { return textStyle_; }
  [[nodiscard]] const std::wstring& GetToolTip() const { return toolTip_; }
  [[nodiscard]] const std::wstring& GetProperty() const { return property_; }
  [[nodiscard]] int GetAttributes() const { return attributes_; }
  [[nodiscard]] bool HasAttribute(int bits) const { return (attributes_ & bits) == bits; }
  [[nodiscard]] bool IsVisible() const { return HasAttribute(wixbits::kVisible); }
  [[nodiscard]] bool IsEnabled() const { return HasAttribute(wixbits::kEnabled); }
  [[nodiscard]] bool IsDefault() const { return isDefault_; }
  [[nodiscard]] bool IsCancel() const { return isCancel_; }
  [[nodiscard]] bool IsTabSkip() const { return tabSkip_; }
  [[nodiscard]] const std::vector<WixListItem>& GetItems() const { return items_; }
  [[nodiscard]] const std::vector<WixRadioButton>& GetRadioButtons() const { return radioButtons_; }
  [[nodiscard]] const std::vector<WixPublish>& GetPublishes() const { return publishes_; }
  [[nodiscard]] const std::vector<WixSubscribe>& GetSubscribes() const { return subscribes_; }
  [[nodiscard]] const std::vector<WixCondition>& GetConditions() const { return conditions_; }
  // The file a scrollable text takes its text from (WiX Text child with
  // SourceFile), as far as it is bound; empty when the text is authored inline.
  [[nodiscard]] const std::wstring& GetTextSourceFile() const { return textSourceFile_; }

  // IButtonControlAttributes, IIconControlAttributes, ICheckBoxAttributes
  bool HasBitmap() const override { return HasAttribute(wixbits::kBitmap); }
  bool HasIcon() const override { return HasAttribute(wixbits::kIcon); }
  bool IsFixedSize() const override { return HasAttribute(wixbits::kFixedSize); }
  int GetIconSize() const override;
  bool HasElevationShield() const override { return HasAttribute(wixbits::kElevationShield); }
  std::wstring GetImageId() const override { return imageId_; }
  bool HasImageHandle() const override { return HasAttribute(wixbits::kImageHandle); }
  // IEditControlAttributes
  bool IsMultiline() const override { return HasAttribute(wixbits::kMultiline); }
  bool IsPassword() const override { return HasAttribute(wixbits::kPassword); }
  bool IsInteger() const override { return HasAttribute(wixbits::kInteger); }
  bool IsSunken() const override { return HasAttribute(wixbits::kSunken); }
  // IDirectoryComboAttributes
  bool ShowsRemovable() const override { return HasAttribute(wixbits::kRemovableVolume); }
  bool ShowsFixed() const override { return HasAttribute(wixbits::kFixedVolume); }
  bool ShowsRemote() const override { return HasAttribute(wixbits::kRemoteVolume); }
  bool ShowsCDROM() const override { return HasAttribute(wixbits::kCDROMVolume); }
  bool ShowsRAMDisk() const override { return HasAttribute(wixbits::kRAMDiskVolume); }
  bool ShowsFloppy() const override { return HasAttribute(wixbits::kFloppyVolume); }
  bool ShowsRollbackCost() const override { return HasAttribute(wixbits::kShowRollbackCost); }
  // ICheckBoxAttributes
  std::wstring GetCheckBoxValue() const override { return checkBoxValue_; }
  bool IsPushLike() const override { return HasAttribute(wixbits::kPushLike); }

  // Filled by the reader.
  void SetRect(const RECT& rect) { rect_ = rect; }
  void SetText(const std::wstring& text, const std::wstring& style) {
    text_ = text;
    textStyle_ = style;
  }
  void SetToolTip(const std::wstring& toolTip) { toolTip_ = toolTip; }
  void SetProperty(const std::wstring& property) { property_ = property; }
  void SetAttributes(int attributes) { attributes_ = attributes; }
  void SetDefault(bool value) { isDefault_ = value; }
  void SetCancel(bool value) { isCancel_ = value; }
  void SetTabSkip(bool value) { tabSkip_ = value; }
  void SetImageId(const std::wstring& id) { imageId_ = id; }
  void SetCheckBoxValue(const std::wstring& value) { checkBoxValue_ = value; }
  void AddItem(WixListItem item) { items_.push_back(std::move(item)); }
  void AddRadioButton(WixRadioButton button) { radioButtons_.push_back(std::move(button)); }
  void AddPublish(WixPublish publish) { publishes_.push_back(std::move(publish)); }
  void AddSubscribe(WixSubscribe subscribe) { subscribes_.push_back(std::move(subscribe)); }
  void AddCondition(WixCondition condition) { conditions_.push_back(std::move(condition)); }
  void SetTextSourceFile(const std::wstring& path) { textSourceFile_ = path; }
  // Hands every authored string that may hold a bind-time variable to
  // `rewrite`: text, tooltip, item and radio button values and texts, the
  // Publish arguments and conditions, the Condition texts and the text's
  // source file.
  void RewriteTexts(const std::function<void(std::wstring&)>& rewrite);

 private:
  std::wstring id_;
  int type_;
  RECT rect_{};
  std::wstring text_;
  std::wstring textStyle_;
  std::wstring toolTip_;
  std::wstring property_;
  int attributes_ = wixbits::kVisible | wixbits::kEnabled;
  bool isDefault_ = false;
  bool isCancel_ = false;
  bool tabSkip_ = false;
  std::wstring imageId_;
  std::wstring checkBoxValue_;
  std::wstring textSourceFile_;
  std::vector<WixListItem> items_;
  std::vector<WixRadioButton> radioButtons_;
  std::vector<WixPublish> publishes_;
  std::vector<WixSubscribe> subscribes_;
  std::vector<WixCondition> conditions_;
};
