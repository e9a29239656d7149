#pragma once
// Reads, writes and removes the bundle's Add/Remove Programs entry for an
// executor: the executors reach that entry only through this seam.

#include <string>
#include <vector>

class IBundleRegistrar {
 public:
  // The setup manager owns the registrar of a run.
  virtual ~IBundleRegistrar() = default;
  // The entry of an installed bundle; true when written.
  [[nodiscard]] virtual bool WriteBundleEntry() = 0;
  // The child entries of the patch codes, then the bundle's entry; true when
  // the last deletion succeeded.
  [[nodiscard]] virtual bool RemoveBundleEntry(const std::vector<std::wstring>& patchCodes) = 0;
  // The bundle's entry alone (before it is written anew); true when gone.
  [[nodiscard]] virtual bool DeleteBundleEntry() = 0;
  // Rewrites the entry's size after the installed features changed.
  [[nodiscard]] virtual bool UpdateBundleSize() = 0;
  // A child entry for an applied patch under the bundle; `sourceKey` names
  // the entry whose version the bundle takes over.
  [[nodiscard]] virtual bool AddPatchEntry(const std::wstring& keyName, const std::wstring& displayName,
                                           const std::wstring& sourceKey) = 0;
  // The earlier bundle's entry of a major upgrade.
  [[nodiscard]] virtual bool DeleteEntry(const std::wstring& keyName) = 0;
  // A key under Windows Installer's own key (64-bit view); true when gone.
  [[nodiscard]] virtual bool DeleteInstallerKey(const std::wstring& keyName) = 0;
  // The installation folder the bundle's current entry records; empty when
  // there is no entry (a first installation) or it names none.
  [[nodiscard]] virtual std::wstring ReadBundleInstallFolder() = 0;
};
