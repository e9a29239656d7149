#include <gtest/gtest.h>

#include "platform/StringUtil.h"

TEST(StringUtil, FormatGrowsPastInitialBuffer) {
  std::wstring big(1000, L'x');
  EXPECT_EQ(platform::Format(L"[%s]", big.c_str()), L"[" + big + L"]");
}
