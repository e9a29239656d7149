#pragma once
// WiX variables of the sources: "!(wix.Name)" and "!(wix.Name=default)".
// WiX binds them when it builds a package, from the WixVariable elements of
// all its sources; the wizard reads the sources themselves, so it binds them
// the same way once every file is read.

#include <map>
#include <string>

class CWixVariableTable {
 public:
  // Keeps the value of a WixVariable element. A value declared Overridable
  // gives way to one that is not (the library's defaults to the author's
  // own); otherwise the first declaration stays and a second one is logged.
  // True when the value was taken.
  bool Add(const std::wstring& id, const std::wstring& value, bool overridable);
  // The declared value, or null.
  [[nodiscard]] const std::wstring* Find(const std::wstring& id) const;
  [[nodiscard]] bool IsEmpty() const { return values_.empty(); }
  void Clear() { values_.clear(); }

 private:
  struct Entry {
    std::wstring value;
    bool overridable = false;
  };
  std::map<std::wstring, Entry> values_;
};

// Whether the text holds a WiX variable reference.
[[nodiscard]] bool HasWixVariable(const std::wstring& text);

// The text with every WiX variable reference replaced by the declared value,
// else by its default (what follows the first "="; parentheses inside it
// pair up, so "!(wix.A=$(var.b))" has the default "$(var.b)"), else by
// nothing (logged). A reference without its closing parenthesis is left as
// written.
[[nodiscard]] std::wstring ResolveWixVariables(const CWixVariableTable& table, const std::wstring& text);
