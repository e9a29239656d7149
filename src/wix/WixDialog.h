#pragma once
// One WiX dialog: its title, size in dialog units, attribute word and its
// controls in document order (owned).

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "wix/WixControl.h"
#include "wix/WixControlAttributes.h"

class CWixDialog {
 public:
  explicit CWixDialog(const std::wstring& id);
  ~CWixDialog();
  CWixDialog(const CWixDialog&) = delete;
  CWixDialog& operator=(const CWixDialog&) = delete;

  [[nodiscard]] const std::wstring& GetId() const { return id_; }
  [[nodiscard]] const std::wstring& GetTitle() const { return title_; }
  [[nodiscard]] const RECT& GetRect() const { return rect_; }
  [[nodiscard]] int GetAttributes() const { return attributes_; }
  [[nodiscard]] int GetControlCount() const { return static_cast<int>(controls_.size()); }
  [[nodiscard]] CWixControl* GetControlAt(int index) const;
  // The first control with the id, or null.
  [[nodiscard]] CWixControl* FindControl(const std::wstring& id) const;
  [[nodiscard]] const std::vector<std::unique_ptr<CWixControl>>& GetControls() const { return controls_; }

  void SetTitle(const std::wstring& title) { title_ = title; }
  void SetRect(const RECT& rect) { rect_ = rect; }
  void SetAttributes(int attributes) { attributes_ = attributes; }
  void AddControl(std::unique_ptr<CWixControl> control);

 private:
  std::wstring id_;
  std::wstring title_;
  RECT rect_{};
  int attributes_ = wixbits::kDialogVisible | wixbits::kDialogModal | wixbits::kDialogMinimize;
  std::vector<std::unique_ptr<CWixControl>> controls_;
};
