#pragma once
// Read face of one dialog shown before the wizard.

#include <string>

class IPreInstallDialogData {
 public:
  [[nodiscard]] virtual int GetSequence() const = 0;
  [[nodiscard]] virtual std::wstring GetId() const = 0;
  [[nodiscard]] virtual std::wstring GetCondition() const = 0;
  [[nodiscard]] virtual std::wstring GetWixPath() const = 0;

 protected:
  ~IPreInstallDialogData() = default;
};
