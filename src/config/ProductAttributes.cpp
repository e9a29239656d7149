#include "config/ProductAttributes.h"

#include <algorithm>

#include "log/Log.h"
#include "platform/StringUtil.h"

namespace {
constexpr LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}  // namespace

CProductAttributes::CProductAttributes(const std::wstring& productName, const std::wstring& id,
                                       const std::wstring& key, int productType, int sequence,
                                       const std::wstring& location, const std::wstring& installCommand,
                                       int spaceRequired, const std::wstring& silentInstallCommand)
    : productType_(productType),
      sequence_(sequence),
      spaceRequired_(spaceRequired),
      productName_(productName),
      location_(location),
      installCommand_(installCommand),
      silentInstallCommand_(silentInstallCommand),
      id_(id),
      key_(key) {}

std::vector<int> CProductAttributes::ParseExitCodeList(const std::wstring& text) {
  std::vector<int> codes;
  for (const std::wstring& piece : platform::Split(text, L",")) {
    if (piece.empty()) continue;
    size_t separator = piece.find(L"<>");
    if (separator == std::wstring::npos) continue;
    codes.push_back(platform::ToInt(std::wstring_view(piece).substr(separator + 2)));
  }
  return codes;
}

std::wstring CProductAttributes::GetTransformForLanguage(LANGID languageId) const {
  auto found = transforms_.find(languageId);
  if (found != transforms_.end()) return found->second;
  // English is the packages' own language, so no transform is expected for it.
  if (languageId != kEnglishUs) {
    LogWarning(L"Transform file could not be found for the languageid, %ld.", static_cast<long>(languageId));
  }
  return std::wstring();
}

bool CProductAttributes::IsWarningExitCode(int code) const {
  return std::find(warningExitCodes_.begin(), warningExitCodes_.end(), code) != warningExitCodes_.end();
}

bool CProductAttributes::IsInformationalExitCode(int code) const {
  return std::find(informationalExitCodes_.begin(), informationalExitCodes_.end(), code) !=
         informationalExitCodes_.end();
}

void CProductAttributes::SetFlags(bool mainProduct, bool rollback, bool wixSource, bool mainProductPatch,
                                  bool cancelEnabled, bool showAbortDialog, bool checkMSIMutex) {
  mainProduct_ = mainProduct;
  rollback_ = rollback;
  wixSource_ = wixSource;
  mainProductPatch_ = mainProductPatch;
  cancelEnabled_ = cancelEnabled;
  showAbortDialog_ = showAbortDialog;
  checkMSIMutex_ = checkMSIMutex;
}

void CProductAttributes::SetDetails(const std::wstring& uninstallCommand, const std::wstring& repairCommand,
                                    const std::wstring& propertyName, const std::wstring& condition,
                                    const std::wstring& failureExitCode, const std::wstring& reboot, int timeOut,
                                    int progressTimeOut, const std::wstring& warningExitCodes,
                                    const std::wstring& informationalExitCodes) {
  uninstallCommand_ = uninstallCommand;
  repairCommand_ = repairCommand;
  propertyName_ = propertyName;
  condition_ = condition;
  failureExitCode_ = failureExitCode;
  reboot_ = reboot;
  timeOut_ = timeOut;
  progressTimeOut_ = progressTimeOut;
  warningExitCodeText_ = warningExitCodes;
  informationalExitCodeText_ = informationalExitCodes;
  warningExitCodes_ = ParseExitCodeList(warningExitCodes);
  informationalExitCodes_ = ParseExitCodeList(informationalExitCodes);
}

bool CProductAttributes::AddTransform(LANGID languageId, const std::wstring& transformFile) {
  return transforms_.emplace(languageId, transformFile).second;
}
