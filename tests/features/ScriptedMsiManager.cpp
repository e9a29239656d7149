#include "ScriptedMsiManager.h"

#include "wix/WixFeature.h"

namespace featuretest {

bool ScriptedMsiManager::LoadFeatureDisplay(CWixFeature* feature) {
  auto found = displays.find(feature->GetId());
  if (found == displays.end()) return false;
  feature->SetDisplay(found->second);
  return true;
}

}  // namespace featuretest
