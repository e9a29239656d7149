#pragma once
// One dialog's controls by identifier: which WiX control and window an
// identifier of a command belongs to.

#include <windows.h>

#include <map>

class CWixControl;
class IMSIManager;

namespace ui {

struct CControlBinding {
  IMSIManager* msi = nullptr;
  HWND window = nullptr;
  const CWixControl* control = nullptr;
};

class CControlCollection {
 public:
  // An identifier that exists keeps its first binding (logged), false.
  bool Add(int id, const CControlBinding& binding);
  // Null for an identifier that is not ours.
  [[nodiscard]] const CControlBinding* Find(int id) const;
  [[nodiscard]] const std::map<int, CControlBinding>& GetAll() const { return bindings_; }

 private:
  std::map<int, CControlBinding> bindings_;
};

}  // namespace ui
