#include "config/SetupConfigParser.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "config/ExecutionType.h"
#include "config/IBrandDetailsList.h"
#include "config/IIconList.h"
#include "config/ILocalizationSetting.h"
#include "config/IPreInstallDialogList.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "config/ISetupConfigDataForParser.h"
#include "config/LocalizationSettingData.h"
#include "xml/Parser.h"
#include "config/PreconditionProcessCheckList.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "platform/UniqueResource.h"
#include "config/WixFileContainer.h"

namespace {

std::atomic<bool> g_skinningEnabled{false};

constexpr int kLogModeAppend = 0;
constexpr int kLogModeOverwrite = 1;
constexpr int kDefaultMaxLengthOfFile = 10;
constexpr int kNoTimeOut = -1;

// An element "has attributes" only when its collection exists and is not empty.
bool HasAttributes(const std::optional<std::vector<CXmlNode>>& attributes) {
  return attributes.has_value() && !attributes->empty();
}

int ProductTypeFromText(const std::wstring& text) {
  if (platform::EqualsNoCase(text, L"EXE")) return kProductTypeExe;
  if (platform::EqualsNoCase(text, L"Registry")) return kProductTypeRegistry;
  if (platform::EqualsNoCase(text, L"MSP")) return kProductTypeMsp;
  return kProductTypeMsi;
}

// "600|120": time-out and progress time-out; a single number serves as both.
// Empty pieces do not count, so a text without numbers keeps "no limit".
void SplitTimeOut(const std::wstring& text, int& timeOut, int& progressTimeOut) {
  std::vector<std::wstring> pieces;
  for (const std::wstring& piece : platform::Split(text, L"|")) {
    if (!piece.empty()) pieces.push_back(piece);
  }
  timeOut = pieces.empty() ? kNoTimeOut : platform::ToInt(pieces[0]);
  progressTimeOut = pieces.size() > 1 ? platform::ToInt(pieces[1]) : timeOut;
}

}  // namespace

CSetupConfigParser::CSetupConfigParser(ISetupConfigDataForParser& writer, ISetupConfigData& reader,
                                       RunStart runStart)
    : writer_(writer),
      reader_(reader),
      runStart_(runStart),
      groupNames_{{L"DisplayName", kGroupDisplayName},
                  {L"ShowInUI", kGroupShowInUI},
                  {L"Sequence", kGroupSequence},
                  {L"Prerequisites", kGroupPrerequisites},
                  {L"SetupInitializer", kGroupSetupInitializer},
                  {L"PostInstallProduct", kGroupPostInstallProduct},
                  {L"UninstallProducts", kGroupUninstallProducts}},
      productNames_{{L"MainProduct", kProductMainProduct},
                    {L"Rollback", kProductRollback},
                    {L"WixSource", kProductWixSource},
                    {L"Id", kProductId},
                    {L"MainProductPatch", kProductMainProductPatch},
                    {L"Type", kProductType},
                    {L"Sequence", kProductSequence},
                    {L"SpaceRequired", kProductSpaceRequired},
                    {L"TimeOut", kProductTimeOut},
                    {L"ProductName", kProductProductName},
                    {L"Location", kProductLocation},
                    {L"InstallCommand", kProductInstallCommand},
                    {L"UninstallCommand", kProductUninstallCommand},
                    {L"RepairCommand", kProductRepairCommand},
                    {L"PropertyName", kProductPropertyName},
                    {L"Condition", kProductCondition},
                    {L"Reboot", kProductReboot},
                    {L"FailureExitCode", kProductFailureExitCode},
                    {L"EnableCancel", kProductEnableCancel},
                    {L"ShowAbortDialog", kProductShowAbortDialog},
                    {L"SilentInstallCommand", kProductSilentInstallCommand},
                    {L"CheckMSIMutex", kProductCheckMSIMutex},
                    {L"WarningExitCode", kProductWarningExitCode},
                    {L"InformationalExitCode", kProductInformationalExitCode}} {}

bool CSetupConfigParser::IsSkinningEnabled() { return g_skinningEnabled.load(); }

bool CSetupConfigParser::StartParse(const std::wstring& filePath) {
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(filePath, root, errorText)) {
    LogError(errorText);
    return false;
  }

  // A section that throws counts as a failed section, so nothing escapes the reader.
  auto run = [&](bool (CSetupConfigParser::*section)(const CXmlNode&)) {
    try {
      return (this->*section)(root);
    } catch (...) {
      return false;
    }
  };
  if (!run(&CSetupConfigParser::ParsePreConditions)) return false;
  const struct {
    bool (CSetupConfigParser::*section)(const CXmlNode&);
    const wchar_t* failureText;
  } steps[] = {
      {&CSetupConfigParser::ParseGeneral, L"CSetupConfigParser::StartParse() - Error in parsing general section."},
      // Deliberate text ("ParsePreinstallDlg" and the trailing blank): kept as written.
      {&CSetupConfigParser::ParsePreInstallDialogs,
       L"CSetupConfigParser::StartParse() - Error in parsing ParsePreinstallDlg section. "},
      {&CSetupConfigParser::ParseImageFiles, L"CSetupConfigParser::StartParse() - Error in parsing Imagefiles section."},
      {&CSetupConfigParser::ParseBrands, L"CSetupConfigParser::StartParse() - Error in parsing Brand details section."},
      {&CSetupConfigParser::ParseProductGroups,
       L"CSetupConfigParser::StartParse() - Error in parsing ProductList section."},
  };
  for (const auto& step : steps) {
    if (!run(step.section)) {
      LogError(step.failureText);
      return false;
    }
  }
  return true;
}

// ---- General, Reboot, Logfile ------------------------------------------------

bool CSetupConfigParser::ParseGeneral(const CXmlNode& root) {
  LogDebug(L"Parsing of General section in SetupConfig.xml started...");
  CXmlNode general = root.SelectSingleNode(L"General");
  if (!general) return false;

  if (platform::EqualsNoCase(CParser::GetChildValueString(general, L"SkinningEnabled"), L"true")) {
    g_skinningEnabled = true;
  }
  writer_.SetStyleConfigPath(CParser::GetChildValueString(general, L"StyleConfigPath"));
  writer_.SetMainDialogConfigPath(CParser::GetChildValueString(general, L"MainDialogConfigPath"));
  writer_.SetMaintenanceExePath(CParser::GetChildValueString(general, L"MaintenanceExePath"));
  writer_.SetYOffsetOfSelectionTree(CParser::GetChildValueInt(general, L"YOffsetOfSelectionTree"));
  writer_.SetBootstrapperRegistry(CParser::GetChildValueString(general, L"BootstrapperRegistry"));
  writer_.SetRCBinaryPath(CParser::GetChildValueString(general, L"RC_BinaryPath"));
  writer_.SetInstallLocation(CParser::GetChildValueString(general, L"InstallLocation"));
  writer_.SetWindowsInstallerPath(CParser::GetChildValueString(general, L"WindowsInstaller"));
  writer_.SetPathLength(CParser::GetChildValueInt(general, L"PathLength"));
  writer_.SetSourcePathMaxLength(CParser::GetChildValueInt(general, L"SourcePathMaxLength"));
  writer_.SetSourcePathMaxUnicode(CParser::GetChildValueInt(general, L"SourcePathMaxUnicode"));
  if (platform::EqualsNoCase(CParser::GetChildValueString(general, L"RegisterableSetup"), L"false")) {
    writer_.SetRegisterableSetup(false);
  }
  if (platform::EqualsNoCase(CParser::GetChildValueString(general, L"EnableAccessibility"), L"true")) {
    writer_.SetAccessibilityEnabled(true);
  }
  writer_.SetMSIMutexTimeout(CParser::GetChildValueInt(general, L"MSIMutexTimeout"));
  const std::wstring packageType = CParser::GetChildValueString(general, L"InstallerPackageType");
  writer_.SetPlatform(packageType == L"x64" || packageType == L"64");

  (void)ParseReboot(general);
  if (!ParseLogFile(general)) return false;
  LogDebug(L"Parsing of General section in SetupConfig.xml completed Successfully.");
  return true;
}

bool CSetupConfigParser::ParseReboot(const CXmlNode& general) {
  LogDebug(L"Parsing of Reboot section in SetupConfig.xml started...");
  CXmlNode reboot = general.SelectSingleNode(L"Reboot");
  if (!reboot) return true;
  auto attributes = reboot.GetAttributes();
  if (!HasAttributes(attributes)) return true;

  std::wstring enabled;
  std::wstring installMode;
  std::wstring accumulate;
  for (const CXmlNode& attribute : *attributes) {
    const std::wstring name = attribute.GetName();
    if (platform::EqualsNoCase(name, L"Value")) {
      enabled = attribute.GetValue();
    } else if (platform::EqualsNoCase(name, L"InstallMode")) {
      installMode = attribute.GetValue();
    } else if (platform::EqualsNoCase(name, L"AccumulateConditionalReboot")) {
      accumulate = attribute.GetValue();
    }
  }
  writer_.SetRebootEnabled(platform::EqualsNoCase(enabled, L"true"));
  writer_.SetRebootInstallMode(installMode);
  writer_.SetAccumulateConditionalReboot(platform::EqualsNoCase(accumulate, L"true"));
  LogDebug(L"Parsing of Reboot section in SetupConfig.xml completed Successfully.");
  return true;
}

bool CSetupConfigParser::ParseLogFile(const CXmlNode& general) {
  LogDebug(L"Parsing of LogFile section in SetupConfig.xml started...");
  CXmlNode logFile = general.SelectSingleNode(L"Logfile");
  if (!logFile) return false;
  auto attributes = logFile.GetAttributes();
  if (!HasAttributes(attributes)) return false;

  std::wstring name;
  std::wstring level;
  int mode = kLogModeOverwrite;
  int maxLengthOfFile = kDefaultMaxLengthOfFile;
  for (const CXmlNode& attribute : *attributes) {
    const std::wstring attributeName = attribute.GetName();
    if (platform::EqualsNoCase(attributeName, L"Name")) {
      name = attribute.GetValue();
    } else if (platform::EqualsNoCase(attributeName, L"Level")) {
      level = attribute.GetValue();
    } else if (platform::EqualsNoCase(attributeName, L"Mode")) {
      const std::wstring value = attribute.GetValue();
      if (platform::EqualsNoCase(value, L"APPEND")) {
        mode = kLogModeAppend;
      } else if (platform::EqualsNoCase(value, L"OVERWRITE")) {
        mode = kLogModeOverwrite;
      }
    } else if (platform::EqualsNoCase(attributeName, L"MaxLengthOfFile")) {
      maxLengthOfFile = CParser::GetNodeInt(attribute);
    }
  }
  // Only a run known to be a plain first installation may start a fresh log;
  // every other run, and a run resumed after a restart, continues the earlier
  // one. In the start-up order the kind of run is not decided yet here, so
  // every run appends.
  if (reader_.GetExecutionType() != SETUPEXECTYPE_INSTALLATION || reader_.IsRestoreMode() ||
      runStart_ == RunStart::kResumePending) {
    mode = kLogModeAppend;
  }
  writer_.CreateLogFileDetails(name, level, mode, maxLengthOfFile);
  LogDebug(L"Parsing of LogFile Section in SetupConfig.xml completed successfully.");
  return true;
}

// ---- Process checks, pre-install dialogs, images, brands ---------------------

bool CSetupConfigParser::ParsePreConditions(const CXmlNode& root) {
  LogDebug(L"Parsing of PreConditionSection Section in SetupConfig.xml Started...");
  try {
    auto processes = root.SelectNodes(L"PreCondition/Process");
    if (!processes) return false;
    auto checks = std::make_unique<CPreconditionProcessCheckList>();
    for (const CXmlNode& process : *processes) {
      auto attributes = process.GetAttributes();
      if (!HasAttributes(attributes)) return false;
      std::wstring list;
      std::wstring condition;
      for (const CXmlNode& attribute : *attributes) {
        const std::wstring name = attribute.GetName();
        if (name == L"List") {
          list = process.GetAttribute(L"List");
        } else if (name == L"Condition") {
          condition = attribute.GetValue();
        }
      }
      checks->AddCheck(list, condition);
    }
    writer_.SetPreconditionProcessCheckList(std::move(checks));
  } catch (...) {
    // Deliberate text ("Exceeption", "preCondition dialog"): kept as written.
    LogError(L"Exceeption thrown while parsing preCondition dialog section in SetupConfig.xml");
    return false;
  }
  LogDebug(L"Parsing of PreConditionSection section completed successfully.");
  return true;
}

bool CSetupConfigParser::ParsePreInstallDialogs(const CXmlNode& root) {
  LogDebug(L"Parsing of PreInstall Dialog section in SetupConfig.xml started...");
  try {
    auto dialogs = root.SelectNodes(L"PreInstallDialogs/Dialog");
    if (!dialogs) return false;
    IPreInstallDialogListForParser* list = writer_.GetOrCreatePreInstallDialogList();
    if (!list) return false;
    for (const CXmlNode& dialog : *dialogs) {
      CXmlNode condition = dialog.GetAttributeNode(L"Condition");
      list->AddDialog(platform::ToInt(dialog.GetAttribute(L"Sequence")), dialog.GetAttribute(L"Id"),
                      dialog.GetAttribute(L"WixPath"), condition ? condition.GetValue() : std::wstring(L"1"));
    }
    list->SortBySequence();
  } catch (...) {
    // Deliberate text ("Exceeption"): kept as written.
    LogError(L"Exceeption thrown while parsing preinstall dialog section in SetupConfig.xml");
    return false;
  }
  LogDebug(L"Parsing of PreInstall Dialog section in SetupConfig.xml completed successfully.");
  return true;
}

bool CSetupConfigParser::ParseImageFiles(const CXmlNode& root) {
  LogDebug(L"Parsing of Image files in SetupConfig.xml started...");
  try {
    auto images = root.SelectNodes(L"ImageFiles/Image");
    if (!images) return false;
    IIconListForParser* icons = writer_.GetOrCreateIconList();
    if (!icons) return false;
    for (const CXmlNode& image : *images) {
      (void)icons->AddImage(image.GetAttribute(L"Name"), image.GetAttribute(L"FilePath"));
    }
  } catch (...) {
    return false;
  }
  LogDebug(L"Parsing of Image files in SetupConfig.xml completed successfully.");
  return true;
}

bool CSetupConfigParser::ParseBrands(const CXmlNode& root) {
  LogDebug(L"Parsing of Brand Details Section in SetupConfig.xml started...");
  try {
    auto brandElements = root.SelectNodes(L"Brand");
    if (!brandElements || brandElements->empty()) {
      LogWarning(L"Brand is not configured under SetupConfig.xml. Splash screen and banner will not work correctly");
      return false;
    }
    IBrandDetailsList* brands = writer_.GetOrCreateBrandDetailsList();
    if (!brands) return false;
    for (const CXmlNode& brand : *brandElements) {
      if (!ParseBrand(brand, *brands)) {
        LogWarning(L"Parsing 'Brand' has failed. Splash screen and banner will not work correctly");
        return false;
      }
    }
    LogDebug(L"Parsing of Brand Details Section in SetupConfig.xml completed Successfully.");
    brands->SettleSelectedBrand();
  } catch (...) {
    LogWarning(L"Exception thrown while parsing 'Brand'. Splash screen and banner will not work correctly");
    return false;
  }
  return true;
}

bool CSetupConfigParser::ParseBrand(const CXmlNode& brand, IBrandDetailsList& brands) {
  LogDebug(L"Parsing of Brand Image File Section in SetupConfig.xml started...");
  if (!HasAttributes(brand.GetAttributes())) return false;
  const std::wstring name = brand.GetAttribute(L"Name");
  std::wstring value = brand.GetAttribute(L"Value");
  if (value.empty()) value = name;
  const bool isDefault = platform::EqualsNoCase(brand.GetAttribute(L"Default"), L"true");

  auto images = brand.SelectNodes(L"ImageFiles/Image");
  if (!images || images->empty()) return false;
  std::wstring splashPath, splashVersionText, bannerPath, bannerVersionText, billboardPath;
  for (const CXmlNode& image : *images) {
    if (!HasAttributes(image.GetAttributes())) return false;
    const std::wstring kind = image.GetAttribute(L"Name");
    if (platform::EqualsNoCase(kind, L"SplashScreen")) {
      splashPath = image.GetAttribute(L"FilePath");
      splashVersionText = image.GetAttribute(L"VersionText");
    } else if (platform::EqualsNoCase(kind, L"Banner")) {
      bannerPath = image.GetAttribute(L"FilePath");
      bannerVersionText = image.GetAttribute(L"VersionText");
    } else if (platform::EqualsNoCase(kind, L"BillBoardImage")) {
      billboardPath = image.GetAttribute(L"FilePath");
    }
  }
  brands.AddBrand(name, value, isDefault, splashPath, bannerPath, billboardPath, splashVersionText,
                  bannerVersionText);
  LogDebug(L"Parsing of Brand Image File Section in SetupConfig.xml completed successfully.");
  return true;
}

// ---- Product groups, products, WiX source -----------------------------------

bool CSetupConfigParser::ParseProductGroups(const CXmlNode& root) {
  LogDebug(L"Parsing of Product Group Section in SetupConfig.xml started...");
  auto groups = root.SelectNodes(L"ProductList/ProductGroup");
  if (!groups || groups->empty()) {
    LogError(L"No product groups configured in SetupConfig.xml");
    return false;
  }
  IProductGroupListForParser* groupList = writer_.GetOrCreateProductGroupList(static_cast<int>(groups->size()));
  if (!groupList) return false;

  for (const CXmlNode& group : *groups) {
    auto attributes = group.GetAttributes();
    if (!HasAttributes(attributes)) return false;
    std::wstring displayName;
    std::wstring sequenceText;
    int sequence = 0;
    bool showInUI = false;
    int kind = kGroupKindOrdinary;
    for (const CXmlNode& attribute : *attributes) {
      auto known = groupNames_.find(attribute.GetName());
      if (known == groupNames_.end()) continue;
      switch (known->second) {
        case kGroupDisplayName: displayName = attribute.GetValue(); break;
        case kGroupShowInUI: showInUI = CParser::GetNodeBool(attribute); break;
        case kGroupSequence:
          sequenceText = attribute.GetValue();
          sequence = CParser::GetNodeInt(attribute);
          break;
        case kGroupPrerequisites: kind = kGroupKindPrerequisites; break;
        case kGroupSetupInitializer: kind = kGroupKindSetupInitializer; break;
        case kGroupPostInstallProduct: kind = kGroupKindPostInstallProduct; break;
        case kGroupUninstallProducts: kind = kGroupKindUninstallProducts; break;
        default: break;
      }
    }
    if (IProductGroupForParser* added = groupList->AddGroup(displayName, sequence, showInUI, kind)) {
      (void)ParseProducts(group, *added, kind, sequenceText);
    }
  }
  groupList->SortBySequence();
  // Deliberate text (the double blank): kept as written.
  LogDebug(L"Parsing of Product Group Section  in SetupConfig.xml completed successfully.");
  return true;
}

bool CSetupConfigParser::ParseProducts(const CXmlNode& group, IProductGroupForParser& groupWriter, int groupKind,
                                       const std::wstring& groupSequence) {
  LogDebug(L"Parsing of Product Details Section in SetupConfig.xml started...");
  auto products = group.SelectNodes(L"Product");
  if (!products || products->empty()) return false;
  IProductListForParser* productList = groupWriter.GetOrCreateProductList(static_cast<int>(products->size()));
  if (!productList) return false;
  for (const CXmlNode& product : *products) {
    (void)ParseProduct(product, *productList, groupKind, groupSequence);
  }
  productList->SortBySequence();
  LogDebug(L"Parsing of Product Details Section in SetupConfig.xml completed successfully...");
  return true;
}

bool CSetupConfigParser::ParseProduct(const CXmlNode& product, IProductListForParser& products, int groupKind,
                                      const std::wstring& groupSequence) {
  LogDebug(L"Parsing of Products in SetupConfig.xml Started...");
  if (!product) return false;
  auto attributes = product.GetAttributes();
  if (!HasAttributes(attributes)) return false;

  bool mainProduct = false, rollback = false, wixSource = false, mainProductPatch = false;
  bool showAbortDialog = false, checkMsiMutex = false;
  // Prerequisites, post-install products and the initializer run unattended
  // unless the author allows cancelling; everything else may be cancelled.
  bool enableCancel = !(groupKind == kGroupKindPrerequisites || groupKind == kGroupKindPostInstallProduct ||
                        groupKind == kGroupKindSetupInitializer);
  int type = kProductTypeMsi;
  int sequence = 0;
  int spaceRequired = 0;
  std::wstring sequenceText, timeOutText = L"-1";
  std::wstring id, productName, location, installCommand, uninstallCommand, repairCommand, propertyName;
  std::wstring condition, reboot, failureExitCode, silentInstallCommand, warningExitCode, informationalExitCode;

  for (const CXmlNode& attribute : *attributes) {
    auto known = productNames_.find(attribute.GetName());
    if (known == productNames_.end()) continue;
    switch (known->second) {
      case kProductMainProduct: mainProduct = CParser::GetNodeBool(attribute); break;
      case kProductRollback: rollback = CParser::GetNodeBool(attribute); break;
      case kProductWixSource: wixSource = CParser::GetNodeBool(attribute); break;
      case kProductId: id = attribute.GetValue(); break;
      case kProductMainProductPatch: mainProductPatch = CParser::GetNodeBool(attribute); break;
      case kProductType: type = ProductTypeFromText(attribute.GetValue()); break;
      case kProductSequence:
        sequenceText = attribute.GetValue();
        sequence = CParser::GetNodeInt(attribute);
        break;
      case kProductSpaceRequired: spaceRequired = CParser::GetNodeInt(attribute); break;
      case kProductTimeOut: timeOutText = attribute.GetValue(); break;
      case kProductProductName: productName = attribute.GetValue(); break;
      case kProductLocation: location = attribute.GetValue(); break;
      case kProductInstallCommand: installCommand = attribute.GetValue(); break;
      case kProductUninstallCommand: uninstallCommand = attribute.GetValue(); break;
      case kProductRepairCommand: repairCommand = attribute.GetValue(); break;
      case kProductPropertyName: propertyName = attribute.GetValue(); break;
      case kProductCondition: condition = attribute.GetValue(); break;
      case kProductReboot: reboot = attribute.GetValue(); break;
      case kProductFailureExitCode: failureExitCode = attribute.GetValue(); break;
      case kProductEnableCancel: enableCancel = CParser::GetNodeBool(attribute); break;
      case kProductShowAbortDialog: showAbortDialog = CParser::GetNodeBool(attribute); break;
      case kProductSilentInstallCommand: silentInstallCommand = attribute.GetValue(); break;
      case kProductCheckMSIMutex: checkMsiMutex = CParser::GetNodeBool(attribute); break;
      case kProductWarningExitCode: warningExitCode = attribute.GetValue(); break;
      case kProductInformationalExitCode: informationalExitCode = attribute.GetValue(); break;
      default: break;
    }
  }

  const std::wstring key = groupSequence + L"_" + sequenceText;
  IProductAttributesForParser* added = products.AddProduct(productName, id, key, type, sequence, location,
                                                           installCommand, spaceRequired, silentInstallCommand);
  if (added) {
    int timeOut = kNoTimeOut;
    int progressTimeOut = kNoTimeOut;
    SplitTimeOut(timeOutText, timeOut, progressTimeOut);
    added->SetDetails(uninstallCommand, repairCommand, propertyName, condition, failureExitCode, reboot, timeOut,
                      progressTimeOut, warningExitCode, informationalExitCode);
    added->SetFlags(mainProduct, rollback, wixSource, mainProductPatch, enableCancel, showAbortDialog, checkMsiMutex);
    (void)ParseProductLanguages(product, *added);
    if (wixSource) {
      writer_.SetWixSourceProduct(added);
      if (!ParseWixSource(product)) return false;
    }
  }
  if (mainProduct) {
    writer_.SetMainProductUninstallCommand(uninstallCommand);
    writer_.SetMainProductLocation(location);
  }
  // Deliberate text (the double blank): kept as written.
  LogDebug(L"Parsing of Products  in SetupConfig.xml completed successfully.");
  return true;
}

bool CSetupConfigParser::ParseProductLanguages(const CXmlNode& product, IProductAttributesForParser& productWriter) {
  LogDebug(L"Parsing of Localization Settings in SetupConfig.xml Started...");
  auto languages = product.SelectNodes(L"LocalizationSetting/Language");
  if (!languages || languages->empty()) return true;
  for (const CXmlNode& language : *languages) {
    (void)productWriter.AddTransform(static_cast<LANGID>(platform::ToInt(language.GetAttribute(L"Id"))),
                                     language.GetAttribute(L"MstFile"));
  }
  LogDebug(L"Parsing of Localization setting in SetupConfig.xml completed successfully.");
  return true;
}

bool CSetupConfigParser::ParseWixSource(const CXmlNode& product) {
  LogDebug(L"Parsing of Wix Source file in SetupConfig.xml started...");
  auto wixFiles = product.SelectNodes(L"WixSrc/WixFile");
  if (!wixFiles || wixFiles->empty()) return true;
  if (CWixFileContainer* container = writer_.GetOrCreateWixFileContainer(static_cast<int>(wixFiles->size()))) {
    for (const CXmlNode& wixFile : *wixFiles) container->AddPath(wixFile.GetAttribute(L"Path"));
  }

  auto languages = product.SelectNodes(L"LocalizationSetting/Language");
  if (!languages) {
    LogWarning(
        L"LocalizationSetting is not configured in SetupConfig.xml, so the application works only in default language");
    LogDebug(L"LocalizationSetting/Language is not configured under wixsource product in SetupConfig.xml");
    return true;
  }
  if (languages->empty()) return true;
  ILocalizationSettingForParser* settings = writer_.GetOrCreateLocalizationSettings();
  if (!settings) {
    LogError(L"Parser error: Unable to get the ILocalizationSettingForParser object");
    return false;
  }
  settings->Reserve(static_cast<int>(languages->size()));
  for (const CXmlNode& language : *languages) {
    auto setting = std::make_unique<CLocalizationSettingData>(
        static_cast<LANGID>(platform::ToInt(language.GetAttribute(L"Id"))), language.GetAttribute(L"Name"),
        language.GetAttribute(L"MstFile"), language.GetAttribute(L"Codepage"));
    if (auto files = language.SelectNodes(L"LocalizationFiles")) {
      for (const CXmlNode& file : *files) setting->AddLocalizationFile(file.GetAttribute(L"FileName"));
    }
    (void)settings->AddLanguageSetting(std::move(setting));
  }
  LogDebug(L"Parsing of Wix Source Files in SetupConfig.xml Completed successfully.");
  return true;
}
