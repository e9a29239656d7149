#include "ui/controls/DefaultIcons.h"

#include "config/ISetupConfigData.h"
#include "ui/controls/ControlImages.h"

namespace ui {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT rect = {left, top, right, bottom};
  platform::UniqueHBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

void Frame(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  Fill(dc, left, top, right, top + 1, colour);
  Fill(dc, left, bottom - 1, right, bottom, colour);
  Fill(dc, left, top, left + 1, bottom, colour);
  Fill(dc, right - 1, top, right, bottom, colour);
}

COLORREF Grey(COLORREF colour) {
  const int level = (GetRValue(colour) * 30 + GetGValue(colour) * 59 + GetBValue(colour) * 11) / 100;
  const int light = 110 + level * 145 / 255;
  return RGB(light, light, light);
}

// A hard disk seen from the front: a box with a light top and a lamp.
void DrawDrive(HDC dc, bool locked, COLORREF lamp) {
  auto colour = [locked](COLORREF c) { return locked ? Grey(c) : c; };
  Fill(dc, 1, 6, 15, 13, colour(RGB(192, 192, 192)));
  Fill(dc, 2, 7, 14, 8, colour(RGB(240, 240, 240)));
  Frame(dc, 1, 6, 15, 13, colour(RGB(64, 64, 64)));
  Fill(dc, 11, 10, 13, 12, colour(lamp));
}

void DrawCross(HDC dc, bool locked) {
  const COLORREF red = locked ? Grey(RGB(200, 0, 0)) : RGB(200, 0, 0);
  for (int i = 2; i < 14; ++i) {
    Fill(dc, i, i, i + 2, i + 1, red);
    Fill(dc, 15 - i, i, 17 - i, i + 1, red);
  }
}

void DrawFolder(HDC dc, bool virtualFolder) {
  const COLORREF body = virtualFolder ? RGB(255, 245, 200) : RGB(240, 200, 80);
  Fill(dc, 1, 3, 7, 5, body);
  Fill(dc, 1, 5, 15, 14, body);
  Frame(dc, 1, 5, 15, 14, RGB(150, 110, 20));
  if (virtualFolder) Fill(dc, 10, 1, 12, 5, RGB(0, 140, 0));  // the new folder's spark
}

void Draw(HDC dc, DefaultImage image) {
  Fill(dc, 0, 0, kSize, kSize, kMaskColour);
  switch (image) {
    case DefaultImage::kFeatureLocal:
    case DefaultImage::kFeatureLocalLocked:
      DrawDrive(dc, image == DefaultImage::kFeatureLocalLocked, RGB(0, 190, 0));
      break;
    case DefaultImage::kFeaturePartial:
    case DefaultImage::kFeaturePartialLocked: {
      const bool locked = image == DefaultImage::kFeaturePartialLocked;
      DrawDrive(dc, locked, RGB(0, 190, 0));
      // A white sheet in front: only part goes to the disk.
      Fill(dc, 0, 1, 8, 10, locked ? Grey(RGB(255, 255, 255)) : RGB(255, 255, 255));
      Frame(dc, 0, 1, 8, 10, locked ? Grey(RGB(0, 0, 128)) : RGB(0, 0, 128));
      Fill(dc, 2, 4, 6, 5, RGB(0, 0, 128));
      Fill(dc, 2, 6, 6, 7, RGB(0, 0, 128));
      break;
    }
    case DefaultImage::kFeatureAbsent:
    case DefaultImage::kFeatureAbsentLocked:
      DrawCross(dc, image == DefaultImage::kFeatureAbsentLocked);
      break;
    case DefaultImage::kDrive:
      DrawDrive(dc, false, RGB(0, 190, 0));
      break;
    case DefaultImage::kNetworkDrive:
      DrawDrive(dc, false, RGB(0, 120, 220));
      Fill(dc, 7, 13, 9, 15, RGB(64, 64, 64));
      Fill(dc, 3, 15, 13, 16, RGB(64, 64, 64));
      break;
    case DefaultImage::kRemovableDrive:
      DrawDrive(dc, false, RGB(220, 160, 0));
      Fill(dc, 3, 9, 9, 10, RGB(64, 64, 64));
      break;
    case DefaultImage::kCdDrive:
      DrawDrive(dc, false, RGB(220, 160, 0));
      Fill(dc, 4, 2, 12, 5, RGB(200, 200, 230));
      Frame(dc, 4, 2, 12, 5, RGB(90, 90, 120));
      break;
    case DefaultImage::kFolder:
      DrawFolder(dc, false);
      break;
    case DefaultImage::kVirtualFolder:
      DrawFolder(dc, true);
      break;
  }
}

platform::UniqueHBitmap DrawBitmap(DefaultImage image) {
  platform::UniqueHdc screen(::CreateCompatibleDC(nullptr));
  HDC reference = ::GetDC(nullptr);
  platform::UniqueHBitmap bitmap(::CreateCompatibleBitmap(reference, kSize, kSize));
  ::ReleaseDC(nullptr, reference);
  if (!screen || !bitmap) return platform::UniqueHBitmap();
  HGDIOBJ old = ::SelectObject(screen.Get(), bitmap.Get());
  Draw(screen.Get(), image);
  ::SelectObject(screen.Get(), old);
  return bitmap;
}

}  // namespace

platform::UniqueHImageList CreateSmallImageList(int initial, int grow) {
  return platform::UniqueHImageList(::ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, initial, grow));
}

int AddImage(HIMAGELIST list, ISetupConfigData* record, const std::wstring& id, DefaultImage fallback) {
  if (list == nullptr) return -1;
  if (record != nullptr && !BinaryImagePath(*record, id).empty()) {
    if (HICON icon = LoadBinaryIcon(*record, id, kSize)) {
      const int index = ::ImageList_AddIcon(list, icon);
      if (index >= 0) return index;
    }
  }
  platform::UniqueHBitmap bitmap = DrawBitmap(fallback);
  if (!bitmap) return -1;
  return ::ImageList_AddMasked(list, bitmap.Get(), kMaskColour);
}

platform::UniqueHIcon CreateDefaultIcon(DefaultImage image) {
  platform::UniqueHImageList list = CreateSmallImageList(1, 1);
  if (AddImage(list.Get(), nullptr, std::wstring(), image) < 0) return platform::UniqueHIcon();
  return platform::UniqueHIcon(::ImageList_GetIcon(list.Get(), 0, ILD_TRANSPARENT));
}

}  // namespace ui
