#pragma once
// Masking of hidden property values in texts that reach a log.

#include <map>
#include <string>
#include <vector>

// The text every hidden value is replaced with.
extern const wchar_t kHiddenValueMask[];

// Replaces every occurrence of the cached value of every hidden property by
// the mask. A value is masked even when its property's name is absent from
// the text, because a value passed on under another name (NAME=[HIDDEN]) is
// just as secret. Empty values are left alone.
void MaskHiddenPropertyValues(std::wstring& text, const std::vector<std::wstring>& hiddenNames,
                              const std::map<std::wstring, std::wstring>& cachedValues);
