#pragma once

#include <string>

// Read face of the log file settings that the configuration names.
class ILogFileDetails {
 public:
  virtual std::wstring GetName() const = 0;
  virtual std::wstring GetLevel() const = 0;
  virtual int GetMode() const = 0;
  virtual int GetMaxLengthOfFile() const = 0;
  virtual std::wstring GetFileName() const = 0;
  virtual std::wstring GetFolder() const = 0;

 protected:
  ~ILogFileDetails() = default;
};
