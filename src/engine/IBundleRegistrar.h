#pragma once
// Writes and removes the bundle's Add/Remove Programs entry for an executor.

class IBundleRegistrar {
 public:
  // The entry of an installed bundle; true when written.
  [[nodiscard]] virtual bool WriteBundleEntry() = 0;
  // The bundle's entry and its patches' child entries; true when removed.
  [[nodiscard]] virtual bool RemoveBundleEntry() = 0;

 protected:
  ~IBundleRegistrar() = default;
};
