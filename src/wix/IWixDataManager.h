#pragma once
// Faces of the WiX UI model: the read face the wizard uses and the write face
// of the source reader.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wix/WixControl.h"

class CWixDialog;
class CWixFeature;

class IWixDataManager {
 public:
  // The dialog with the id, or null.
  [[nodiscard]] virtual CWixDialog* GetDialog(const std::wstring& id) const = 0;
  [[nodiscard]] virtual int GetDialogCount() const = 0;
  // Every dialog id, sorted.
  [[nodiscard]] virtual std::vector<std::wstring> GetDialogIds() const = 0;
  // Top-level features in document order; each holds its children.
  [[nodiscard]] virtual const std::vector<std::unique_ptr<CWixFeature>>& GetFeatures() const = 0;
  // The WiX string of the id; an unknown id comes back as itself, with a warning.
  [[nodiscard]] virtual std::wstring GetLocalizedText(const std::wstring& id) const = 0;
  [[nodiscard]] virtual std::wstring GetCurrentDialogName() const = 0;
  virtual void SetCurrentDialogName(const std::wstring& name) = 0;
  [[nodiscard]] virtual std::wstring GetFirstDialogName() const = 0;
  virtual void SetFirstDialogName(const std::wstring& name) = 0;

 protected:
  ~IWixDataManager() = default;
};

class IWixDataModelForParser {
 public:
  [[nodiscard]] virtual bool HasDialog(const std::wstring& id) const = 0;
  // Takes ownership; a dialog whose id exists is dropped (and logged), false.
  virtual bool AddDialog(std::unique_ptr<CWixDialog> dialog) = 0;
  virtual void AddFeature(std::unique_ptr<CWixFeature> feature) = 0;
  // The feature with the id at any depth, or null.
  [[nodiscard]] virtual CWixFeature* FindFeature(const std::wstring& id) = 0;
  // A control event authored outside its control (WiX Publish under UI, with
  // Dialog and Control): kept until every file is read. `order` is WiX's
  // Order, 1 when not given.
  virtual void AddDeferredPublish(const std::wstring& dialogId, const std::wstring& controlId, WixPublish publish,
                                  int order) = 0;
  // Appends the kept events to their controls, after the controls' own, by
  // Order and then authoring order; returns how many found their control.
  virtual int AttachDeferredPublishes() = 0;
  // Every dialog read so far, in id order, for what is bound after the last file.
  virtual void ForEachDialog(const std::function<void(CWixDialog&)>& visit) = 0;
  // Destroys all dialogs, controls, features and kept events, so the sources
  // can be read again (after a language change).
  virtual void Clear() = 0;

 protected:
  ~IWixDataModelForParser() = default;
};
