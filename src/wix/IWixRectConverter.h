#pragma once
// How the WiX reader turns authored co-ordinates into screen units. The
// dialog-unit converter of the user interface implements it; the reader only
// sees this face, so the WiX layer does not depend on the user interface.

#include <windows.h>

class IWixRectConverter {
 public:
  // Authored points to pixels of the current screen.
  [[nodiscard]] virtual RECT ScaleRect(const RECT& rect) const = 0;
  // Authored points to dialog units of the in-memory dialog template.
  [[nodiscard]] virtual RECT ToDialogUnits(const RECT& rect) const = 0;

 protected:
  ~IWixRectConverter() = default;
};
