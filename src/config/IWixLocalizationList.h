#pragma once
// Faces of the WiX string table: localization id -> text of the selected language.

#include <optional>
#include <string>

// The size and text a localization gives one control of one dialog (a "UI"
// element of a .wxl file); what it leaves out stays as the dialog authors it.
struct WixControlOverride {
  std::optional<int> x;
  std::optional<int> y;
  std::optional<int> width;
  std::optional<int> height;
  std::optional<std::wstring> text;
};

class IWixLocalizationList {
 public:
  // The text for the id; an unknown id logs a warning and comes back as itself.
  [[nodiscard]] virtual std::wstring GetLocalizedText(const std::wstring& id) const = 0;
  // Looks the id up without logging.
  [[nodiscard]] virtual bool HasLocalization(const std::wstring& id) const = 0;
  [[nodiscard]] virtual int GetCount() const = 0;
  // The localized size and text of a control; false when the language gives none.
  [[nodiscard]] virtual bool FindControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                                                 WixControlOverride& values) const = 0;

 protected:
  ~IWixLocalizationList() = default;
};

class IWixLocalizationListForParser {
 public:
  // False (and a warning) when the id exists; the first text is kept.
  virtual bool AddLocalization(const std::wstring& id, const std::wstring& text) = 0;
  // A control's localized size and text; false (and a warning) when the
  // control has some already: the first is kept, as with the texts.
  virtual bool AddControlOverride(const std::wstring& dialogId, const std::wstring& controlId,
                                  const WixControlOverride& values) = 0;
  // Empties the table (texts and control values) before another language is read.
  virtual void Clear() = 0;

 protected:
  ~IWixLocalizationListForParser() = default;
};
