#include "ui/controls/ControlCollection.h"

#include "log/Log.h"

namespace ui {

bool CControlCollection::Add(int id, const CControlBinding& binding) {
  if (!bindings_.emplace(id, binding).second) {
    LogInformation(L"The key %d is already available in control map", id);
    return false;
  }
  return true;
}

const CControlBinding* CControlCollection::Find(int id) const {
  auto found = bindings_.find(id);
  return found == bindings_.end() ? nullptr : &found->second;
}

}  // namespace ui
