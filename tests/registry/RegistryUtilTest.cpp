// The registry helpers on scratch keys of the real registry.

#include <gtest/gtest.h>

#include "ArpTestSupport.h"
#include "config/ConfigTestSupport.h"
#include "registry/RegistryUtil.h"

namespace {

using registry::View;

// Each test works below its own key directly under SOFTWARE, removed afterwards.
std::wstring ScratchPath(const wchar_t* name) { return L"SOFTWARE\\" + arptest::UniqueName(name); }

TEST(RegistryUtil, DwordValuesReadOnlyWhenTheyAreDwords) {
  std::wstring path = ScratchPath(L"RegistryUtilDword");
  arptest::ScratchKey scratch(path, View::Default);
  platform::UniqueHKey key;
  ASSERT_EQ(registry::CreateKey(path, KEY_READ | KEY_WRITE, View::Default, key), ERROR_SUCCESS);
  ASSERT_EQ(registry::WriteDwordValue(key.Get(), L"Number", 0xFFFFFFFFu), ERROR_SUCCESS);
  ASSERT_EQ(registry::WriteStringValue(key.Get(), L"Text", L"12"), ERROR_SUCCESS);

  DWORD value = 7;
  EXPECT_TRUE(registry::ReadDwordValue(key.Get(), L"Number", value));
  EXPECT_EQ(value, 0xFFFFFFFFu);
  value = 7;
  EXPECT_FALSE(registry::ReadDwordValue(key.Get(), L"Text", value));
  EXPECT_FALSE(registry::ReadDwordValue(key.Get(), L"Missing", value));
  EXPECT_EQ(value, 7u);
  std::wstring text;
  EXPECT_FALSE(registry::ReadStringValue(key.Get(), L"Number", text));
  EXPECT_TRUE(registry::ReadStringValue(key.Get(), L"Text", text));
  EXPECT_EQ(text, L"12");
}

TEST(RegistryUtil, DeleteKeyTreeRemovesAllLevelsOfOneViewOnly) {
  std::wstring path = ScratchPath(L"RegistryUtilTree");
  arptest::ScratchKey view64(path, View::Force64);
  arptest::ScratchKey view32(path, View::Force32);
  arptest::ScratchKey deep(path + L"\\a\\b\\c", View::Force64);
  ASSERT_TRUE(deep.Write({{L"v", L"1"}}));
  arptest::ScratchKey sibling(path + L"\\x", View::Force64);
  ASSERT_TRUE(sibling.Write({{L"v", L"2"}}));
  ASSERT_TRUE(view32.Write({{L"v", L"32"}}));

  EXPECT_EQ(registry::DeleteKeyTree(path, View::Force64), ERROR_SUCCESS);

  EXPECT_FALSE(arptest::KeyExists(path, View::Force64));
  EXPECT_TRUE(arptest::KeyExists(path, View::Force32));
  EXPECT_EQ(registry::DeleteKeyTree(path, View::Force64), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryUtil, RebootMarkerIsTheRunOnceValue) {
  // The marker's name is fixed; keep whatever this prefix held and put it back.
  std::wstring saved;
  platform::UniqueHKey runOnce;
  ASSERT_EQ(registry::CreateKey(registry::kRunOnceKey, KEY_READ | KEY_WRITE, View::Default, runOnce), ERROR_SUCCESS);
  bool had = registry::ReadStringValue(runOnce.Get(), registry::kRebootMarkerValue, saved);
  ::RegDeleteValueW(runOnce.Get(), registry::kRebootMarkerValue);

  EXPECT_FALSE(registry::IsRebootMarkerPresent());
  ASSERT_EQ(registry::WriteStringValue(runOnce.Get(), registry::kRebootMarkerValue, L"C:\\resume.bat"),
            ERROR_SUCCESS);
  EXPECT_TRUE(registry::IsRebootMarkerPresent());

  ::RegDeleteValueW(runOnce.Get(), registry::kRebootMarkerValue);
  if (had) (void)registry::WriteStringValue(runOnce.Get(), registry::kRebootMarkerValue, saved);
}

TEST(RegistryUtil, SetAndGetCreateReadAndLogTheirFailures) {
  arptest::ScratchKey scratch(ScratchPath(L"RegistryUtilValues"), View::Default);
  std::wstring path = scratch.Path() + L"\\Nested";
  modeltest::LogCapture log;

  EXPECT_EQ(registry::GetRegistryKeyValueData(path, L"Name"), L"");
  EXPECT_EQ(registry::SetRegistryKeyValueData(path, L"Name", L"Value"), 1);
  EXPECT_EQ(registry::GetRegistryKeyValueData(path, L"Name"), L"Value");
  EXPECT_EQ(registry::DeleteValue(path, L"Name"), 1);
  EXPECT_EQ(registry::DeleteValue(path, L"Name"), 0);

  EXPECT_EQ(log.Count(L"GetRegistryKeyValueData:: Unable to open the key " + path + L"."), 1u);
  EXPECT_EQ(log.Count(L"SetRegistryKeyValueData:: Unable to open the key " + path + L". Creating the key.."), 1u);
  EXPECT_EQ(log.Count(L"WARNING:\tUnable to delete the registry key with the name Name under the key, " + path), 1u);
}

}  // namespace
