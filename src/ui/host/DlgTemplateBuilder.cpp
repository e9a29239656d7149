#include "ui/host/DlgTemplateBuilder.h"

#include <algorithm>

namespace ui {

namespace {
WORD ClampToWord(LONG value) { return static_cast<WORD>(static_cast<short>(std::clamp<LONG>(value, -32768, 32767))); }
}  // namespace

void CDlgTemplateBuilder::Build(DWORD style, DWORD extendedStyle, const RECT& rect, const std::wstring& title,
                                WORD pointSize, const std::wstring& faceName) {
  words_.clear();
  words_.reserve(16 + title.size() + faceName.size());
  Add(LOWORD(style));
  Add(HIWORD(style));
  Add(LOWORD(extendedStyle));
  Add(HIWORD(extendedStyle));
  Add(0);  // no controls: the wizard creates them itself
  Add(ClampToWord(rect.left));
  Add(ClampToWord(rect.top));
  Add(ClampToWord(rect.right - rect.left));
  Add(ClampToWord(rect.bottom - rect.top));
  Add(0);  // menu
  Add(0);  // class
  AddString(title);
  if ((style & DS_SETFONT) != 0) {
    Add(pointSize);
    AddString(faceName);
  }
}

void CDlgTemplateBuilder::AddString(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c == L'\0') break;
    Add(static_cast<WORD>(c));
  }
  Add(0);
}

const DLGTEMPLATE* CDlgTemplateBuilder::GetTemplate() const {
  return words_.empty() ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

}  // namespace ui
