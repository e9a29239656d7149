#pragma once
// A control that shows a Windows Installer property: Reset and the control
// events ask it to show a new text or to read its property again.

#include <string>

namespace ui {

class IPropertyControl {
 public:
  virtual void SetDisplayText(const std::wstring& text) = 0;
  virtual void RefreshFromProperty() = 0;

 protected:
  ~IPropertyControl() = default;
};

}  // namespace ui
