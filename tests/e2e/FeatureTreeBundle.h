#pragma once
// A bundle whose wizard is the WixUI_FeatureTree set of the shared library
// (../shared/wixui) and whose main package carries a feature tree of three
// levels (tests/packages/featuretree), with two EXE products that the tree
// shows as non-features: Helper, which the user may switch off, and Runtime,
// which the package reports as already there (locked).

#include <string>

namespace featurewalk {

constexpr wchar_t kFeatureTreeProductCode[] = L"{6B1D0C3A-5E70-4000-8000-000000001701}";

class FeatureTreeBundle {
 public:
  // `extraGeneral` goes into SetupConfig.xml's General section.
  FeatureTreeBundle(const std::wstring& name, const std::string& extraGeneral = "");
  ~FeatureTreeBundle();
  FeatureTreeBundle(const FeatureTreeBundle&) = delete;
  FeatureTreeBundle& operator=(const FeatureTreeBundle&) = delete;

  [[nodiscard]] const std::wstring& Problem() const { return problem_; }
  [[nodiscard]] const std::wstring& Folder() const { return folder_; }
  [[nodiscard]] std::wstring SetupExe() const { return folder_ + L"Setup.exe"; }
  [[nodiscard]] std::wstring LogPath() const { return folder_ + L"Logs\\Setup.log"; }
  // The lines the EXE products wrote when they ran ("/name:Helper" ...).
  [[nodiscard]] std::wstring MarkerText() const;

 private:
  std::wstring folder_;
  std::wstring problem_;
};

// Windows Installer's state of an installed product's feature
// (INSTALLSTATE_LOCAL, INSTALLSTATE_ABSENT, ...).
int InstalledFeatureState(const std::wstring& productCode, const std::wstring& feature);
// Removes the feature-tree product quietly when a run installed it.
void RemoveFeatureTreeProduct();
bool IsFeatureTreeProductInstalled();

}  // namespace featurewalk
