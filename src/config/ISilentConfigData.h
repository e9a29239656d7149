#pragma once
// Faces of the silent configuration record: the read face used by the silent
// run, and the write face used only by the SilentConfig.xml reader.

#include <string>

class CWixFileContainer;

// Receives the silent run's Windows Installer properties (the main package's
// session implements it).
class IPropertyTarget {
 public:
  // With `indirect`, `name` names the property whose value is the real name.
  virtual void SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) = 0;

 protected:
  ~IPropertyTarget() = default;
};

class ISilentConfigData {
 public:
  // Every configured property, in name order, set directly on the target.
  virtual void ApplyGeneralProperties(IPropertyTarget& target) const = 0;
  [[nodiscard]] virtual bool IsShowErrorDialog() const = 0;
  // 1 with the value when the key exists; -1 otherwise, leaving `value` untouched.
  [[nodiscard]] virtual int GetKeyValue(const std::wstring& key, std::wstring& value) const = 0;
  [[nodiscard]] virtual bool IsShowIndicator() const = 0;
  // The record is destroyed through this face.
  virtual ~ISilentConfigData() = default;
};

class ISilentConfigDataForParser {
 public:
  virtual void SetShowErrorDialog(bool show) = 0;
  virtual void SetShowIndicator(bool show) = 0;
  // Inserts, or replaces the value of an existing name.
  virtual void SetProperty(const std::wstring& name, const std::wstring& value) = 0;
  [[nodiscard]] virtual CWixFileContainer* GetWixFileContainer() = 0;
  // Created with room for expectedCount paths on the first call; returned unchanged afterwards.
  [[nodiscard]] virtual CWixFileContainer* GetOrCreateWixFileContainer(int expectedCount) = 0;
  // Inserts, or replaces the value of an existing key.
  virtual void SetKeyValue(const std::wstring& key, const std::wstring& value) = 0;

 protected:
  ~ISilentConfigDataForParser() = default;
};
