#include "ui/controls/SizeText.h"

#include "platform/StringUtil.h"

namespace ui {

namespace {

constexpr long long kGigabyte = 0x40000000LL;
constexpr long long kMegabyte = 0x100000LL;
constexpr long long kKilobyte = 1024LL;

// Only a count above a unit's size is written in it: exactly 1 MB shows as "1024KB".
void PickUnit(long long bytes, long long& divisor, const wchar_t*& unit) {
  const unsigned long long magnitude =
      bytes < 0 ? 0ULL - static_cast<unsigned long long>(bytes) : static_cast<unsigned long long>(bytes);
  if (magnitude > static_cast<unsigned long long>(kGigabyte)) {
    divisor = kGigabyte;
    unit = L"GB";
  } else if (magnitude > static_cast<unsigned long long>(kMegabyte)) {
    divisor = kMegabyte;
    unit = L"MB";
  } else {
    divisor = kKilobyte;
    unit = L"KB";
  }
}

}  // namespace

std::wstring FormatSize(long long bytes) {
  long long divisor = kKilobyte;
  const wchar_t* unit = L"KB";
  PickUnit(bytes, divisor, unit);
  return platform::Format(L"%lld%s", bytes / divisor, unit);
}

std::wstring FormatSizeDecimal(long long bytes) {
  long long divisor = kKilobyte;
  const wchar_t* unit = L"KB";
  PickUnit(bytes, divisor, unit);
  return platform::Format(L"%.2f%s", static_cast<double>(bytes) / static_cast<double>(divisor), unit);
}

}  // namespace ui
