#pragma once
// The Windows Installer session of the bundle's main package: the handles a
// launcher opened, the captured initializer pass, properties with a cache
// that outlives the package handle, conditions, texts with property
// references, feature states and costs, actions and two table queries the
// wizard needs.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/ISilentConfigData.h"
#include "msi/IMSIManager.h"
#include "msi/MsiEntryPoints.h"
#include "platform/UniqueResource.h"

class CMsiMessageHandler;
class IEventDispatcher;
class ISetupConfigData;
class ISetupLauncher;
class IWixDataManager;

class CMSIManager : public IMSIManager, public IPropertyTarget {
 public:
  // Loads the Windows Installer library. `silent` is set on the silent and
  // resumed roads, where no first dialog is shown.
  CMSIManager(ISetupConfigData& record, bool silent);
  ~CMSIManager();
  CMSIManager(const CMSIManager&) = delete;
  CMSIManager& operator=(const CMSIManager&) = delete;

  // The launcher chosen for the run (the setup manager picks it); owned.
  void SetLauncher(std::unique_ptr<ISetupLauncher> launcher);
  [[nodiscard]] ISetupLauncher* GetLauncher() const { return launcher_.get(); }
  // The WiX UI model whose features SetFeaturesCost fills; not owned, may be null.
  void SetWixDataManager(IWixDataManager* model) { wixModel_ = model; }
  [[nodiscard]] CMsiMessageHandler& GetMessageHandler() { return *handler_; }

  // Runs the launcher, reads the hidden property names and, unless silent,
  // shows the package's first dialog. False (logged) when any step fails.
  [[nodiscard]] bool LaunchInitializer(IEventDispatcher* dispatcher);

  std::wstring GetProperty(const std::wstring& name, bool indirect) override;
  void SetProperty(const std::wstring& name, const std::wstring& value, bool indirect) override;
  bool EvaluateCondition(const std::wstring& condition) override;
  // Resolves property references; a text that keeps growing (a value that
  // refers to itself twice) is cut at kMaxFormattedTextLength characters.
  void FormatText(std::wstring& text) override;
  static constexpr size_t kMaxFormattedTextLength = 65536;
  std::wstring GetPropertyString() override;
  void CloseHandles() override;
  void CloseHandlesUnlessKept() override;
  bool GetFeatureState(const std::wstring& feature, int& installed, int& action) override;
  void SetFeatureState(const std::wstring& feature, int state) override;
  unsigned DoAction(const std::wstring& action) override;
  // An absolute folder on a local fixed drive whose name a file system can
  // hold: where the WiX sets let an installation go.
  [[nodiscard]] static bool IsInstallableFolder(const std::wstring& folder);
  void ReopenCachedPackage() override;
  bool RunActionInWixSourcePackage(const std::wstring& action) override;
  bool SetFeaturesCost() override;
  void OpenInitializerPackageAhead() override;
  void WaitForInitializerPackage() override;
  std::wstring GetProductCode() const override { return productCode_; }
  void SetProductCode(const std::wstring& code) override { productCode_ = code; }
  void SetDatabaseHandle(unsigned long handle) override;
  void SetPackageHandle(unsigned long handle) override;
  bool LoadFeatureDisplay(CWixFeature* feature) override;
  bool SetInstallLevel(int level) override;
  void CacheProperty(const std::wstring& name, const std::wstring& value) override;
  void MaskHiddenProperties(std::wstring& text) override;
  std::wstring GetControlText(const std::wstring& control) override;

  // The raw read: from the package while it is open, else from the cache.
  [[nodiscard]] std::wstring GetPropertyValue(const std::wstring& name);
  // Reads "MsiHiddenProperties" of the open package into the hidden names
  // (replacing earlier ones). Launchers call it right after opening the
  // package, so no secret set before is ever logged in clear.
  void ReadHiddenProperties();
  [[nodiscard]] bool IsHiddenProperty(const std::wstring& name) const;
  [[nodiscard]] const std::vector<std::wstring>& GetHiddenPropertyNames() const { return hiddenNames_; }
  [[nodiscard]] const std::wstring& GetFirstDialogName() const { return firstDialog_; }
  [[nodiscard]] MSIHANDLE GetPackageHandle() const { return package_.Get(); }
  [[nodiscard]] MSIHANDLE GetDatabaseHandle() const { return database_.Get(); }
  [[nodiscard]] bool IsSilent() const { return silent_; }
  // Runs CostInitialize, FileCost, CostFinalize (unless the session is
  // `costed` already) and InstallValidate, then costs the model's features.
  void RunCosting(bool costed = false);

 private:
  // The WiX UI extension's actions (WixUIValidatePath, WixUIPrintEula) live in
  // its DLL; a package built without the extension does not carry them.
  // False when `action` is not one of them or the package has it.
  bool RunMissingWixUiAction(const std::wstring& action, unsigned& result);
  bool HasCustomAction(const std::wstring& action);

  [[nodiscard]] bool ShowFirstDialog();
  // True when the features are to be costed on the initializer pass's
  // session instead of a session of their own.
  [[nodiscard]] bool CostsOnInitializerSession();
  void RunCostingWithoutUserInterface();
  void ReadPropertyTable(const std::wstring& table, UINT column, bool publicOnly);
  void CostFeature(CWixFeature& feature);
  [[nodiscard]] long long BundleProductCost(const std::wstring& productName);

  platform::UniqueMsiHandle database_;
  platform::UniqueMsiHandle package_;
  bool silent_;
  std::wstring firstDialog_;
  ISetupConfigData& record_;
  IEventDispatcher* dispatcher_ = nullptr;
  std::unique_ptr<CMsiMessageHandler> handler_;
  std::map<std::wstring, std::wstring> cache_;
  std::unique_ptr<ISetupLauncher> launcher_;
  int keepHandles_ = 0;
  // Set while the WiX sources are read when the initializer pass's session is
  // the run's only one: the package is opened ahead and costed after the pass.
  bool sharesInitializerSession_ = false;
  // SetFeaturesCost left the costing to the initializer pass's session.
  bool costingDeferred_ = false;
  std::wstring productCode_;
  std::vector<std::wstring> hiddenNames_;
  IWixDataManager* wixModel_ = nullptr;
};
