#include "ui/dialogs/ProgressDialog.h"

#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"

namespace ui {

namespace {
constexpr int kCancelControlKind = 15;
}  // namespace

void CProgressDialog::OnInitDialog() {
  CMSIDialog::OnInitDialog();
  if (services_.dispatcher == nullptr) return;
  for (const auto& [id, binding] : GetControlCollection().GetAll()) {
    if (binding.control->GetId() == L"Cancel") {
      services_.dispatcher->GetEventMapper()->RegisterControl(kCancelControlKind, binding.window);
    }
  }
}

}  // namespace ui
