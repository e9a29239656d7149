#pragma once
// Read-only views of a WiX control's Windows Installer attribute word, one per
// control kind, with the published Control table bit values.

#include <string>

namespace wixbits {
// Every control kind.
constexpr int kVisible = 0x00000001;
constexpr int kEnabled = 0x00000002;
constexpr int kSunken = 0x00000004;
constexpr int kIndirect = 0x00000008;
constexpr int kInteger = 0x00000010;
constexpr int kRightToLeft = 0x00000020;
constexpr int kRightAligned = 0x00000040;
constexpr int kLeftScroll = 0x00000080;
// Text.
constexpr int kTransparent = 0x00010000;
constexpr int kNoPrefix = 0x00020000;
constexpr int kNoWrap = 0x00040000;
constexpr int kFormatSize = 0x00080000;
constexpr int kUsersLanguage = 0x00100000;
// Edit.
constexpr int kMultiline = 0x00010000;
constexpr int kPassword = 0x00200000;
// ProgressBar.
constexpr int kProgress95 = 0x00010000;
// Volume and directory lists.
constexpr int kRemovableVolume = 0x00010000;
constexpr int kFixedVolume = 0x00020000;
constexpr int kRemoteVolume = 0x00040000;
constexpr int kCDROMVolume = 0x00080000;
constexpr int kRAMDiskVolume = 0x00100000;
constexpr int kFloppyVolume = 0x00200000;
constexpr int kShowRollbackCost = 0x00400000;
// List and combo boxes.
constexpr int kSorted = 0x00010000;
constexpr int kComboList = 0x00020000;
// Buttons, check boxes, radio buttons, bitmaps and icons.
constexpr int kImageHandle = 0x00010000;
constexpr int kPushLike = 0x00020000;
constexpr int kBitmap = 0x00040000;
constexpr int kIcon = 0x00080000;
constexpr int kFixedSize = 0x00100000;
constexpr int kIconSize16 = 0x00200000;
constexpr int kIconSize32 = 0x00400000;
constexpr int kIconSize48 = 0x00600000;
constexpr int kIconSizeMask = 0x00600000;
constexpr int kElevationShield = 0x00800000;
// Radio button groups.
constexpr int kHasBorder = 0x01000000;

// Dialog attribute word.
constexpr int kDialogVisible = 0x00000001;
constexpr int kDialogModal = 0x00000002;
constexpr int kDialogMinimize = 0x00000004;
constexpr int kDialogSysModal = 0x00000008;
constexpr int kDialogKeepModeless = 0x00000010;
constexpr int kDialogTrackDiskSpace = 0x00000020;
constexpr int kDialogUseCustomPalette = 0x00000040;
constexpr int kDialogRightToLeft = 0x00000080;
constexpr int kDialogRightAligned = 0x00000100;
constexpr int kDialogLeftScroll = 0x00000200;
constexpr int kDialogError = 0x00010000;
}  // namespace wixbits

class IButtonControlAttributes {
 public:
  [[nodiscard]] virtual bool HasBitmap() const = 0;
  [[nodiscard]] virtual bool HasIcon() const = 0;
  [[nodiscard]] virtual bool IsFixedSize() const = 0;
  // 16, 32 or 48; 0 when the size is not set.
  [[nodiscard]] virtual int GetIconSize() const = 0;
  [[nodiscard]] virtual bool HasElevationShield() const = 0;
  // The Binary id of the button's image; empty for a text button.
  [[nodiscard]] virtual std::wstring GetImageId() const = 0;

 protected:
  ~IButtonControlAttributes() = default;
};

class IEditControlAttributes {
 public:
  [[nodiscard]] virtual bool IsMultiline() const = 0;
  [[nodiscard]] virtual bool IsPassword() const = 0;
  [[nodiscard]] virtual bool IsInteger() const = 0;
  [[nodiscard]] virtual bool IsSunken() const = 0;

 protected:
  ~IEditControlAttributes() = default;
};

class IIconControlAttributes {
 public:
  [[nodiscard]] virtual int GetIconSize() const = 0;
  [[nodiscard]] virtual bool IsFixedSize() const = 0;
  [[nodiscard]] virtual bool HasImageHandle() const = 0;
  [[nodiscard]] virtual std::wstring GetImageId() const = 0;

 protected:
  ~IIconControlAttributes() = default;
};

class IDirectoryComboAttributes {
 public:
  [[nodiscard]] virtual bool ShowsRemovable() const = 0;
  [[nodiscard]] virtual bool ShowsFixed() const = 0;
  [[nodiscard]] virtual bool ShowsRemote() const = 0;
  [[nodiscard]] virtual bool ShowsCDROM() const = 0;
  [[nodiscard]] virtual bool ShowsRAMDisk() const = 0;
  [[nodiscard]] virtual bool ShowsFloppy() const = 0;
  [[nodiscard]] virtual bool ShowsRollbackCost() const = 0;

 protected:
  ~IDirectoryComboAttributes() = default;
};

class ICheckBoxAttributes {
 public:
  // The value the property gets when the box is checked.
  [[nodiscard]] virtual std::wstring GetCheckBoxValue() const = 0;
  [[nodiscard]] virtual bool IsPushLike() const = 0;
  [[nodiscard]] virtual bool HasBitmap() const = 0;
  [[nodiscard]] virtual bool HasIcon() const = 0;

 protected:
  ~ICheckBoxAttributes() = default;
};
