#pragma once
// Faces of the WiX string table: localization id -> text of the selected language.

#include <string>

class IWixLocalizationList {
 public:
  // The text for the id; an unknown id logs a warning and comes back as itself.
  [[nodiscard]] virtual std::wstring GetLocalizedText(const std::wstring& id) const = 0;
  // Looks the id up without logging.
  [[nodiscard]] virtual bool HasLocalization(const std::wstring& id) const = 0;
  [[nodiscard]] virtual int GetCount() const = 0;

 protected:
  ~IWixLocalizationList() = default;
};

class IWixLocalizationListForParser {
 public:
  // False (and a warning) when the id exists; the first text is kept.
  virtual bool AddLocalization(const std::wstring& id, const std::wstring& text) = 0;
  // Empties the table before the texts of another language are read.
  virtual void Clear() = 0;

 protected:
  ~IWixLocalizationListForParser() = default;
};
