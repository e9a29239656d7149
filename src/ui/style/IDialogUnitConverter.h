#pragma once
// Measures the screen once and converts authored geometry into pixels and
// dialog units.

#include <windows.h>

#include "wix/IWixRectConverter.h"

namespace ui {
// Multiplies in double precision and rounds half away from zero: truncate,
// then add one when the discarded fraction is at least 0.5.
[[nodiscard]] int RoundToInt(double value);
}  // namespace ui

class IDialogUnitConverter : public IWixRectConverter {
 public:
  virtual ~IDialogUnitConverter() = default;
  // Runs the hidden measuring dialog; false (and a log line) when it cannot.
  [[nodiscard]] virtual bool Measure() = 0;
  virtual void SetFactors(double horizontal, double vertical, double scale) = 0;
  // All four co-ordinates times the scale (points to pixels).
  [[nodiscard]] RECT ScaleRect(const RECT& rect) const override = 0;
  // n times 1.31, rounded.
  [[nodiscard]] virtual int ScaleValue(int value) const = 0;
  // Left and right times the horizontal factor, top and bottom times the vertical one.
  [[nodiscard]] RECT ToDialogUnits(const RECT& rect) const override = 0;
  virtual void GetFactors(double& vertical, double& horizontal, double& scale) const = 0;
};
