#pragma once
// Faces of the list of dialogs shown before the wizard.

#include <string>

class IPreInstallDialogData;

class IPreInstallDialogList {
 public:
  // Rewinds the cursor; returns the number of dialogs.
  virtual int ResetIteration() = 0;
  // Null once after the last dialog; the call after that starts again at the first.
  [[nodiscard]] virtual IPreInstallDialogData* GetNextDialog() = 0;
  [[nodiscard]] virtual IPreInstallDialogData* FindDialog(const std::wstring& id) = 0;
  // Deletes the first dialog with this id; false when there is none.
  virtual bool RemoveDialog(const std::wstring& id) = 0;

 protected:
  ~IPreInstallDialogList() = default;
};

class IPreInstallDialogListForParser {
 public:
  virtual void AddDialog(int sequence, const std::wstring& id, const std::wstring& wixPath,
                         const std::wstring& condition) = 0;
  virtual void SortBySequence() = 0;

 protected:
  ~IPreInstallDialogListForParser() = default;
};
