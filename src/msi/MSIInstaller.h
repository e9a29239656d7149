#pragma once
// Runs one "MSI" or "MSP" product through Windows Installer: completes its
// command line, keeps a verbose package log, silences the installer's own user
// interface, routes its messages into the run's dialogs and progress bar,
// calls the installer function for the execution type and logs a status
// block. The result is Windows Installer's, unchanged.

#include <memory>
#include <string>

#include "msi/MsiMessageHandler.h"
#include "msi/SetupInstallerBase.h"

class CMSIInstaller : public CSetupInstallerBase {
 public:
  CMSIInstaller(ISetupConfigData& record, IEventDispatcher* dispatcher);
  ~CMSIInstaller() override;

  [[nodiscard]] DWORD Execute(IProductAttributes& product, const std::wstring& commandLine) override;
  void Cancel() override;

  [[nodiscard]] CMsiMessageHandler& GetMessageHandler() { return *handler_; }

  // The product code and the properties of a removal command line
  // ("{code} NAME=value" gives REMOVE="ALL" NAME=value).
  static void SplitRemovalCommand(const std::wstring& commandLine, std::wstring& productCode,
                                  std::wstring& properties);
  // The package log of a product: log folder + product name + "_Setup.log".
  [[nodiscard]] std::wstring PackageLogPath(const IProductAttributes& product) const;

 private:
  void AddSelectedFeatures(const IProductAttributes& product, std::wstring& commandLine) const;
  void AddTransforms(IProductAttributes& product, std::wstring& commandLine) const;
  [[nodiscard]] DWORD RunPackage(IProductAttributes& product, const std::wstring& location,
                                 const std::wstring& commandLine);

  std::unique_ptr<CMsiMessageHandler> handler_;
};
