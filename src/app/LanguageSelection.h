#pragma once
// The language of the run: taken from an earlier installation of the bundle
// and held to the languages SetupConfig.xml configures.

class ISetupConfigData;

// Called by the parse manager once the execution type is known. On an
// installed bundle the language stored in its Add/Remove Programs entry (the
// system default language when none) becomes the record's language and is
// validated; returns whether it changed, so the caller reloads its texts.
[[nodiscard]] bool UpdateLanguageFromRegistry(ISetupConfigData* record);

// Called by the parse manager: a language without configured settings falls
// back to English (1033); logs the language the run will use.
void ValidateLanguage(ISetupConfigData& record);
