#pragma once
// Reads SetupConfig.xml into the configuration record, section by section, in
// the order the run depends on: process checks, general settings (with reboot
// and log file), pre-install dialogs, images, brands, then the product list.

#include <map>
#include <string>

#include "xml/XmlNode.h"

class ISetupConfigData;
class ISetupConfigDataForParser;
class IBrandDetailsList;
class IProductGroupForParser;
class IProductListForParser;
class IProductAttributesForParser;

class CSetupConfigParser {
 public:
  // What the application knows about this start before any file is read.
  enum class RunStart {
    kFresh,
    // A restart in the middle of the bundle is pending or being resumed (the
    // application found the resume command in the RunOnce key): the log of
    // the earlier run is continued, never started afresh.
    kResumePending,
  };

  // Neither face is owned; both are normally the same record.
  CSetupConfigParser(ISetupConfigDataForParser& writer, ISetupConfigData& reader,
                     RunStart runStart = RunStart::kFresh);
  CSetupConfigParser(const CSetupConfigParser&) = delete;
  CSetupConfigParser& operator=(const CSetupConfigParser&) = delete;

  // Reads the whole file; false (after an ERROR line) at the first section
  // that fails. Sections read before a failure stay in the record.
  [[nodiscard]] bool StartParse(const std::wstring& filePath);

  // The process-wide switch the skinning engine reads (General/SkinningEnabled).
  [[nodiscard]] static bool IsSkinningEnabled();

  // Sections, each taking the document's root element.
  [[nodiscard]] bool ParsePreConditions(const CXmlNode& root);
  [[nodiscard]] bool ParseGeneral(const CXmlNode& root);
  [[nodiscard]] bool ParsePreInstallDialogs(const CXmlNode& root);
  [[nodiscard]] bool ParseImageFiles(const CXmlNode& root);
  [[nodiscard]] bool ParseBrands(const CXmlNode& root);
  [[nodiscard]] bool ParseProductGroups(const CXmlNode& root);

  // Parts of the sections above.
  [[nodiscard]] bool ParseReboot(const CXmlNode& general);
  [[nodiscard]] bool ParseLogFile(const CXmlNode& general);
  [[nodiscard]] bool ParseBrand(const CXmlNode& brand, IBrandDetailsList& brands);
  [[nodiscard]] bool ParseProducts(const CXmlNode& group, IProductGroupForParser& groupWriter, int groupKind,
                                   const std::wstring& groupSequence);
  [[nodiscard]] bool ParseProduct(const CXmlNode& product, IProductListForParser& products, int groupKind,
                                  const std::wstring& groupSequence);
  [[nodiscard]] bool ParseProductLanguages(const CXmlNode& product, IProductAttributesForParser& productWriter);
  [[nodiscard]] bool ParseWixSource(const CXmlNode& product);

 private:
  // The attributes a ProductGroup and a Product understand, matched exactly.
  enum GroupAttribute : int {
    kGroupDisplayName = 0,
    kGroupShowInUI,
    kGroupSequence,
    kGroupPrerequisites,
    kGroupSetupInitializer,
    kGroupPostInstallProduct,
    kGroupUninstallProducts,
  };
  enum ProductAttribute : int {
    kProductMainProduct = 0,
    kProductRollback,
    kProductWixSource,
    kProductId,
    kProductMainProductPatch,
    kProductType,
    kProductSequence,
    kProductSpaceRequired,
    kProductTimeOut,
    kProductProductName,
    kProductLocation,
    kProductInstallCommand,
    kProductUninstallCommand,
    kProductRepairCommand,
    kProductPropertyName,
    kProductCondition,
    kProductReboot,
    kProductFailureExitCode,
    kProductEnableCancel,
    kProductShowAbortDialog,
    kProductSilentInstallCommand,
    kProductCheckMSIMutex,
    kProductWarningExitCode,
    kProductInformationalExitCode,
  };

  ISetupConfigDataForParser& writer_;
  ISetupConfigData& reader_;
  RunStart runStart_;
  std::map<std::wstring, int> groupNames_;
  std::map<std::wstring, int> productNames_;
};
