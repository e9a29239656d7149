#pragma once
// Writes an in-memory dialog template header (no controls): the wizard's
// dialogs are made at run time from the WiX sources, not from resources.

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class CDlgTemplateBuilder {
 public:
  // `rect` is in dialog units; titles and face names of any length fit.
  void Build(DWORD style, DWORD extendedStyle, const RECT& rect, const std::wstring& title, WORD pointSize,
             const std::wstring& faceName);
  [[nodiscard]] const DLGTEMPLATE* GetTemplate() const;

 private:
  void Add(WORD word) { words_.push_back(word); }
  void AddString(const std::wstring& text);

  // WORD storage from the heap is DWORD-aligned, as DLGTEMPLATE must be.
  std::vector<WORD> words_;
};

}  // namespace ui
