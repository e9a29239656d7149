#include "engine/SetupLauncherPatch.h"

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "xml/Parser.h"
#include "config/ProductWalk.h"
#include "xml/XmlNode.h"
#include "log/Log.h"
#include "msi/InstalledProduct.h"
#include "msi/MSIManager.h"
#include "platform/Path.h"
#include "platform/StringUtil.h"
#include "registry/ArpEntry.h"

namespace {

UINT ExtractPatchXml(const std::wstring& patchFile, std::wstring& xml) {
  DWORD length = 0;
  wchar_t empty[1] = L"";
  UINT result = MsiExtractPatchXMLDataStub(patchFile.c_str(), 0, empty, &length);
  if (result != ERROR_MORE_DATA) return result;
  xml.assign(length + 1, L'\0');
  DWORD size = length + 1;
  result = MsiExtractPatchXMLDataStub(patchFile.c_str(), 0, &xml[0], &size);
  xml.resize(result == ERROR_SUCCESS ? size : 0);
  return result;
}

CSetupLauncherPatch::PatchXmlReader& PatchXmlReaderSlot() {
  static CSetupLauncherPatch::PatchXmlReader reader;
  return reader;
}

}  // namespace

CSetupLauncherPatch::PatchXmlReader CSetupLauncherPatch::SetPatchXmlReaderForTest(PatchXmlReader reader) {
  PatchXmlReader previous = std::move(PatchXmlReaderSlot());
  PatchXmlReaderSlot() = std::move(reader);
  return previous;
}

CSetupLauncherPatch::CSetupLauncherPatch(ISetupConfigData& record, CMSIManager& manager, const SetupStartData& start)
    : CSetupLauncherBase(record, manager, start) {
  patchFile_ = GetPackageLocation();
  ReadPatchData(patchFile_);
}

void CSetupLauncherPatch::CollectPatches() {
  patches_.clear();
  (void)ForEachProduct(record_.GetProductGroupList(), [this](IProductGroup& group, IProductAttributes& product) {
    if (!group.IsSkipped() && !product.IsSkipped() && product.GetProductType() == kProductTypeMsp) {
      patches_.push_back(JoinToFolder(record_.GetSetupFolder(), product.GetLocation()));
    }
    return true;
  });
}

void CSetupLauncherPatch::PrepareRun() {
  CollectPatches();
  LogInformation(L"The patch run applies %d patch(es).", static_cast<int>(patches_.size()));
  if (manager_.GetDatabaseHandle() != 0) ApplyPatchTransforms();
  SetPatchProperty();
}

void CSetupLauncherPatch::ReadPatchData(const std::wstring& patchFile) {
  std::wstring xml;
  const UINT result = PatchXmlReaderSlot() ? PatchXmlReaderSlot()(patchFile, xml) : ExtractPatchXml(patchFile, xml);
  if (result != ERROR_SUCCESS) {
    LogDebug(L"MsiExtractPatchXMLDataStub failed.");
    return;
  }
  CXmlNode root;
  std::wstring error;
  if (!CParser::LoadXmlText(xml, root, error)) {
    // Deliberate text (the trailing blank, "!!"): kept as written.
    LogError(L"Error in loading the xml. Error is %s ",
             error.empty() ? L"Error in loading patch info xml!! loadXML() API failed." : error.c_str());
    return;
  }
  // The parser's default selection language matches these names in the data's default namespace.
  CXmlNode target = root.SelectSingleNode(L"//TargetProductCode");
  CXmlNode updated = root.SelectSingleNode(L"//TargetProduct/UpdatedVersion");
  if (target) targetProductCode_ = platform::Trim(target.GetText());
  if (updated) updatedVersion_ = platform::Trim(updated.GetText());
}

bool CSetupLauncherPatch::OpensCachedPackage(const std::wstring& updatedVersion,
                                             const std::wstring& installedVersion) {
  const std::vector<std::wstring> patch = platform::Split(updatedVersion, L".");
  const std::vector<std::wstring> installed = platform::Split(installedVersion, L".");
  if (patch.size() < 3 || installed.size() < 3) return false;
  if (platform::ToInt(patch[0]) != platform::ToInt(installed[0])) return false;
  if (platform::ToInt(patch[1]) != platform::ToInt(installed[1])) return false;
  return platform::ToInt(patch[2]) >= platform::ToInt(installed[2]);
}

int CSetupLauncherPatch::OpenPackage(const std::wstring& location) {
  const std::wstring cached = GetCachedPackagePath(targetProductCode_);
  const std::wstring installedVersion = CArpEntry().GetDisplayVersion(targetProductCode_);
  if (cached.empty() || !OpensCachedPackage(updatedVersion_, installedVersion)) {
    LogInformation(L"The patch %s is applied directly.", location.c_str());
    const UINT result = MsiApplyPatchStub(patchFile_.c_str(), nullptr, INSTALLTYPE_DEFAULT, L"");
    if (result != ERROR_SUCCESS) ShowErrorCode(result);
    return 0;
  }
  return CSetupLauncherBase::OpenPackage(cached);
}

void CSetupLauncherPatch::ApplyTransforms(const std::wstring&) { ApplyPatchTransforms(); }

void CSetupLauncherPatch::ApplyPatchTransforms() {
  for (const std::wstring& patch : patches_) {
    if (patch.size() < 4) continue;
    const std::wstring transform = patch.substr(0, patch.size() - 4) + L".mst";
    if (!platform::FileExists(transform)) {
      LogError(L"The transform file %s is not found.", transform.c_str());
      return;
    }
    if (MsiDatabaseApplyTransformStub(manager_.GetDatabaseHandle(), transform.c_str(), 0) != ERROR_SUCCESS) {
      LogError(L"Applying transform to %s has failed. Transform related functionalities may not work properly",
               transform.c_str());
    }
  }
}

void CSetupLauncherPatch::ApplySpecificProperties() {
  SetPatchProperty();
  manager_.SetProductCode(targetProductCode_);
}

void CSetupLauncherPatch::SetPatchProperty() {
  std::wstring value;
  for (const std::wstring& patch : patches_) value += patch + L";";
  manager_.SetProperty(L"PATCH", value, false);
}
