#pragma once

#include <map>

#include "ui/style/IMaindialogConfigData.h"

class CMainDialogConfigData : public IMaindialogConfigData, public IMaindialogConfigDataForParser {
 public:
  CMainDialogConfigData() = default;
  ~CMainDialogConfigData() override = default;
  CMainDialogConfigData(const CMainDialogConfigData&) = delete;
  CMainDialogConfigData& operator=(const CMainDialogConfigData&) = delete;

  // IMaindialogConfigData
  const RECT* GetPreInstallDialogRect(int key) const override;
  const RECT* GetMainDialogRect(int key) const override;
  int GetTitleBarHeightInDialogUnits() override;
  bool GetTitleBarHeight(int& height) const override;
  void GetContentOffsets(int& x, int& y) override;

  // IMaindialogConfigDataForParser
  bool AddMainDialogRect(int key, const RECT& rect) override;
  bool AddPreInstallDialogRect(int key, const RECT& rect) override;
  void SetConversionFactors(double vertical, double horizontal, double scale) override;

 private:
  std::map<int, RECT> mainRects_;
  std::map<int, RECT> preInstallRects_;
  double vertical_ = 0.0;
  double horizontal_ = 0.0;
  double scale_ = 0.0;
  bool titleBarComputed_ = false;
  int titleBarHeightInDialogUnits_ = 0;
  bool offsetsComputed_ = false;
  int contentOffsetX_ = 0;
  int contentOffsetY_ = 0;
};
