#include "engine/MinorUpgradeExecutor.h"

#include "engine/IBundleRegistrar.h"

bool CMinorUpgradeExecutor::UpdateRegistry() {
  IBundleRegistrar* registrar = GetBundleRegistrar();
  if (registrar == nullptr) return false;
  (void)registrar->DeleteBundleEntry();
  return registrar->WriteBundleEntry();
}
