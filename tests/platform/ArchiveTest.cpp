// The binary archive: the three length forms of archive strings, numbers in
// little-endian order, the 4096-byte file buffer, and damaged input.

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>

#include "platform/Archive.h"
#include "platform/UniqueResource.h"
#include "support/TestPaths.h"

namespace {

using platform::CArchive;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

struct LengthCase {
  const char* label;
  size_t length;
  std::string header;  // the bytes before the characters
};
void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.label; }

class ArchiveStringForms : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ArchiveStringForms, HeaderCharactersAndReadBack) {
  const LengthCase& c = GetParam();
  std::wstring text(c.length, L'\0');
  for (size_t i = 0; i < c.length; ++i) text[i] = static_cast<wchar_t>(L'a' + i % 26);
  if (c.length > 0) text[0] = L'\x00e9';  // not ASCII: two bytes E9 00

  std::string stored;
  CArchive out = CArchive::ForStoringToMemory(stored);
  out.WriteString(text);
  ASSERT_TRUE(out.Flush());

  ASSERT_EQ(stored.size(), c.header.size() + 2 * c.length);
  EXPECT_EQ(stored.substr(0, c.header.size()), c.header);
  if (c.length > 0) {
    EXPECT_EQ(stored.substr(c.header.size(), 4), Bytes({0xE9, 0x00, 'b', 0x00}));
  }

  CArchive in = CArchive::ForLoadingFromMemory(stored);
  std::wstring read;
  ASSERT_TRUE(in.ReadString(read));
  EXPECT_EQ(read, text);
  EXPECT_TRUE(in.IsAtEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ArchiveStringForms,
    ::testing::Values(LengthCase{"empty", 0, Bytes({0xFF, 0xFE, 0xFF, 0x00})},
                      LengthCase{"one_byte_254", 254, Bytes({0xFF, 0xFE, 0xFF, 0xFE})},
                      LengthCase{"two_bytes_255", 255, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00})},
                      LengthCase{"two_bytes_300", 300, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01})},
                      LengthCase{"two_bytes_65533", 0xFFFD, Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF})},
                      LengthCase{"four_bytes_65534", 0xFFFE,
                                 Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
                      LengthCase{"four_bytes_70000", 70000,
                                 Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.label); });

TEST(Archive, NumbersAreLittleEndian) {
  std::string stored;
  CArchive out = CArchive::ForStoringToMemory(stored);
  out.WriteUInt8(0x12);
  out.WriteUInt16(0x3456);
  out.WriteUInt32(0x89ABCDEFu);
  ASSERT_TRUE(out.Flush());
  EXPECT_EQ(stored, Bytes({0x12, 0x56, 0x34, 0xEF, 0xCD, 0xAB, 0x89}));

  CArchive in = CArchive::ForLoadingFromMemory(stored);
  uint8_t a = 0;
  uint16_t b = 0;
  uint32_t c = 0;
  ASSERT_TRUE(in.ReadUInt8(a) && in.ReadUInt16(b) && in.ReadUInt32(c));
  EXPECT_EQ(a, 0x12);
  EXPECT_EQ(b, 0x3456);
  EXPECT_EQ(c, 0x89ABCDEFu);
  EXPECT_TRUE(in.IsAtEnd());
  EXPECT_FALSE(in.ReadUInt8(a));
  EXPECT_TRUE(in.IsFailed());
}

// A file larger than several buffers, written and read through the file
// forms: every string crosses buffer boundaries at another offset.
TEST(Archive, FileRoundTripAcrossBufferBoundaries) {
  std::wstring folder = testsupport::MakeScratchFolder(L"ArchiveFile");
  std::wstring path = folder + L"data.bin";
  std::string expected;
  CArchive memory = CArchive::ForStoringToMemory(expected);
  {
    platform::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    CArchive out = CArchive::ForStoringToFile(file.Get());
    for (uint32_t i = 0; i < 60; ++i) {
      std::wstring text(37 * i + 1, static_cast<wchar_t>(L'A' + i % 26));
      out.WriteString(text);
      out.WriteUInt32(i * 1000u);
      memory.WriteString(text);
      memory.WriteUInt32(i * 1000u);
    }
    ASSERT_TRUE(out.Flush());
  }
  ASSERT_GT(expected.size(), 3 * CArchive::kBufferSize);
  EXPECT_EQ(testsupport::ReadFileBytes(path), expected);

  platform::UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  CArchive in = CArchive::ForLoadingFromFile(file.Get());
  for (uint32_t i = 0; i < 60; ++i) {
    std::wstring text;
    uint32_t number = 0;
    ASSERT_TRUE(in.ReadString(text)) << i;
    ASSERT_TRUE(in.ReadUInt32(number)) << i;
    EXPECT_EQ(text, std::wstring(37 * i + 1, static_cast<wchar_t>(L'A' + i % 26)));
    EXPECT_EQ(number, i * 1000u);
  }
  EXPECT_TRUE(in.IsAtEnd());
  file.Reset();
  testsupport::RemoveFolder(folder);
}

struct DamagedCase {
  const char* label;
  std::string bytes;
};
void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.label; }

class ArchiveDamagedStrings : public ::testing::TestWithParam<DamagedCase> {};

// Damaged strings fail without reading past the end or allocating what a
// bogus length asks for, and leave the target untouched.
TEST_P(ArchiveDamagedStrings, ReadFailsAndKeepsTheTarget) {
  CArchive in = CArchive::ForLoadingFromMemory(GetParam().bytes);
  std::wstring text = L"untouched";
  EXPECT_FALSE(in.ReadString(text));
  EXPECT_TRUE(in.IsFailed());
  EXPECT_EQ(text, L"untouched");
  uint8_t any = 0;
  EXPECT_FALSE(in.ReadUInt8(any)) << "a failed archive stays failed";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveDamagedStrings,
    ::testing::Values(DamagedCase{"empty_input", ""},
                      DamagedCase{"no_unicode_lead", Bytes({0x03, 'a', 'b', 'c'})},
                      DamagedCase{"wrong_marker", Bytes({0xFF, 0xFD, 0xFF, 0x01, 'a', 0x00})},
                      DamagedCase{"characters_cut_short", Bytes({0xFF, 0xFE, 0xFF, 0x03, 'a', 0x00, 'b'})},
                      DamagedCase{"length_cut_short", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C})},
                      DamagedCase{"marker_as_length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 'a', 0x00})},
                      DamagedCase{"huge_long_length", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                             0x7F, 'a', 0x00})}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.label); });

TEST(Archive, WrongDirectionFails) {
  std::string stored;
  CArchive out = CArchive::ForStoringToMemory(stored);
  uint8_t value = 0;
  EXPECT_FALSE(out.ReadUInt8(value));
  EXPECT_TRUE(out.IsFailed());
  EXPECT_FALSE(out.Flush());

  CArchive in = CArchive::ForLoadingFromMemory("x");
  in.WriteUInt8(1);
  EXPECT_TRUE(in.IsFailed());
}

}  // namespace
