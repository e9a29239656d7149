#pragma once
// Faces of the geometry of the main wizard frame and the pre-install frame,
// read from ConfigForMainDialog.xml.

#include <windows.h>

// Keys of the main frame's areas; the pre-install frame uses the first three.
enum MainDialogArea : int {
  kAreaDialog = 0,
  kAreaTitleBar = 1,
  kAreaTitleBarText = 2,
  kAreaBanner = 3,
  kAreaLeftImage = 4,
  kAreaBillboardTitle = 5,
  kAreaBillBoard = 6,
  kAreaLeftProgressBar = 7,
};

class IMaindialogConfigData {
 public:
  // The rectangle of the key, or null (with an information line).
  [[nodiscard]] virtual const RECT* GetPreInstallDialogRect(int key) const = 0;
  [[nodiscard]] virtual const RECT* GetMainDialogRect(int key) const = 0;
  // The title bar's height in dialog units, worked out once.
  [[nodiscard]] virtual int GetTitleBarHeightInDialogUnits() = 0;
  // The title bar's height in pixels; 0 (and false) without a TitleBar area.
  virtual bool GetTitleBarHeight(int& height) const = 0;
  // Where a wizard page's content starts inside the main frame, in dialog units.
  virtual void GetContentOffsets(int& x, int& y) = 0;
  virtual ~IMaindialogConfigData() = default;
};

class IMaindialogConfigDataForParser {
 public:
  // An existing key keeps its first rectangle; false and an information line then.
  virtual bool AddMainDialogRect(int key, const RECT& rect) = 0;
  virtual bool AddPreInstallDialogRect(int key, const RECT& rect) = 0;
  virtual void SetConversionFactors(double vertical, double horizontal, double scale) = 0;

 protected:
  ~IMaindialogConfigDataForParser() = default;
};
