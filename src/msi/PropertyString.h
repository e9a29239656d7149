#pragma once
// The bundle's property string: blank-separated NAME="value" assignments in
// Windows Installer's command-line syntax, where a quote inside a value is
// written twice. It goes onto the main package's command line, is searched
// for [NAME] references and is saved for the run after an intermediate restart.

#include <string>
#include <utility>
#include <vector>

namespace msiprops {

// NAME="value", every quote of the value doubled.
[[nodiscard]] std::wstring FormatAssignment(const std::wstring& name, const std::wstring& value);

// The assignments of a property string, in order. Quoted values lose their
// quotes and have doubled quotes made single; unquoted values end at a blank.
// Text after the last assignment that has no "=" is ignored.
[[nodiscard]] std::vector<std::pair<std::wstring, std::wstring>> Split(const std::wstring& properties);

}  // namespace msiprops
