#pragma once

#include <windows.h>

#include "ui/style/IDialogUnitConverter.h"

class CDialogUnitConverter : public IDialogUnitConverter {
 public:
  // Starts with the factors of a 96 DPI screen with the 8 point shell font, so
  // conversions stay usable if measuring fails.
  CDialogUnitConverter();
  ~CDialogUnitConverter() override = default;
  CDialogUnitConverter(const CDialogUnitConverter&) = delete;
  CDialogUnitConverter& operator=(const CDialogUnitConverter&) = delete;

  bool Measure() override;
  void SetFactors(double horizontal, double vertical, double scale) override;
  RECT ScaleRect(const RECT& rect) const override;
  int ScaleValue(int value) const override;
  RECT ToDialogUnits(const RECT& rect) const override;
  void GetFactors(double& vertical, double& horizontal, double& scale) const override;

  // What the measuring dialog found, for the log and the tests.
  [[nodiscard]] int GetMeasuredDpi() const { return dpi_; }

 private:
  static INT_PTR CALLBACK MeasureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  [[nodiscard]] bool MeasureWindow(HWND dialog);

  double horizontal_;
  double vertical_;
  double scale_;
  int dpi_ = 0;
};
