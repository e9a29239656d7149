#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "wix/IWixDataManager.h"
#include "wix/WixDialog.h"
#include "wix/WixFeature.h"

class ISetupConfigData;

// The WiX UI model: dialogs by id, the feature tree and the names of the
// first and current dialog. Texts are looked up in the record's WiX string table.
class CWixDataManager : public IWixDataManager, public IWixDataModelForParser {
 public:
  explicit CWixDataManager(ISetupConfigData& record);
  virtual ~CWixDataManager();
  CWixDataManager(const CWixDataManager&) = delete;
  CWixDataManager& operator=(const CWixDataManager&) = delete;

  // IWixDataManager
  CWixDialog* GetDialog(const std::wstring& id) const override;
  int GetDialogCount() const override { return static_cast<int>(dialogs_.size()); }
  std::vector<std::wstring> GetDialogIds() const override;
  const std::vector<std::unique_ptr<CWixFeature>>& GetFeatures() const override { return features_; }
  std::wstring GetLocalizedText(const std::wstring& id) const override;
  std::wstring GetCurrentDialogName() const override { return currentDialogName_; }
  void SetCurrentDialogName(const std::wstring& name) override { currentDialogName_ = name; }
  std::wstring GetFirstDialogName() const override { return firstDialogName_; }
  void SetFirstDialogName(const std::wstring& name) override { firstDialogName_ = name; }

  // IWixDataModelForParser
  bool HasDialog(const std::wstring& id) const override { return dialogs_.count(id) != 0; }
  bool AddDialog(std::unique_ptr<CWixDialog> dialog) override;
  void AddFeature(std::unique_ptr<CWixFeature> feature) override;
  CWixFeature* FindFeature(const std::wstring& id) override;
  void AddDeferredPublish(const std::wstring& dialogId, const std::wstring& controlId, WixPublish publish,
                          int order) override;
  int AttachDeferredPublishes() override;
  void ForEachDialog(const std::function<void(CWixDialog&)>& visit) override;
  void Clear() override;

 private:
  struct DeferredPublish {
    std::wstring dialogId;
    std::wstring controlId;
    WixPublish publish;
    int order;
  };

  void ClearDialogs();
  void ClearFeatures();

  ISetupConfigData& record_;
  std::map<std::wstring, std::unique_ptr<CWixDialog>> dialogs_;
  std::vector<std::unique_ptr<CWixFeature>> features_;
  std::vector<DeferredPublish> deferred_;
  std::wstring currentDialogName_;
  std::wstring firstDialogName_;
};
