#pragma once
// Localization references inside WiX source texts: "!(loc.Id)" or "$(loc.Id)".

#include <string>

class IWixLocalizationList;

// The text with every localization reference replaced by the string table's
// text for its id. An unknown id (or a missing table) gives the id itself,
// with the table's warning. A reference without its closing parenthesis is
// left as written.
[[nodiscard]] std::wstring ResolveLocReference(const IWixLocalizationList* table, const std::wstring& text);

// Resolves the text, then splits a leading text style "{\Name}" off it:
// `style` receives Name (or is cleared) and the rest of the text is returned.
[[nodiscard]] std::wstring SplitStyledText(const IWixLocalizationList* table, const std::wstring& text,
                                           std::wstring& style);
