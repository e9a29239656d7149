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

void CWixControl::RewriteTexts(const std::function<void(std::wstring&)>& rewrite) {
  rewrite(text_);
  rewrite(toolTip_);
  rewrite(textSourceFile_);
  for (WixListItem& item : items_) {
    rewrite(item.value);
    rewrite(item.text);
  }
  for (WixRadioButton& button : radioButtons_) {
    rewrite(button.value);
    rewrite(button.text);
    rewrite(button.toolTip);
  }
  for (WixPublish& publish : publishes_) {
    rewrite(publish.argument);
    rewrite(publish.condition);
  }
  for (WixCondition& condition : conditions_) rewrite(condition.condition);
}
