#pragma once

#include <windows.h>

#include <string>

class IBSLocalizationConfigData;

// Reads the bootstrapper's own texts for one language from the localization
// file into the record, falling back to English (1033); deletes the file after
// reading. False when the file cannot be loaded or has no usable language.
[[nodiscard]] bool ReadBootstrapperLocalization(const std::wstring& filePath, IBSLocalizationConfigData& record,
                                                LANGID languageId);
