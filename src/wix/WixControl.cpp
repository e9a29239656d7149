#include "wix/WixControl.h"

CWixControl::CWixControl(const std::wstring& id, int type) : id_(id), type_(type) {}

int CWixControl::GetIconSize() const {
  switch (attributes_ & wixbits::kIconSizeMask) {
    case wixbits::kIconSize16:
      return 16;
    case wixbits::kIconSize32:
      return 32;
    case wixbits::kIconSize48:
      return 48;
    default:
      return 0;
  }
}
