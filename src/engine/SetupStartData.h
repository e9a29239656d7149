#pragma once
// What start-up hands the setup manager for the launchers: the command line's
// property assignments and the silent configuration. The engine cannot reach
// the application object, so start-up passes them down.

#include <map>
#include <string>

class ISilentConfigData;

struct SetupStartData {
  // NAME=value assignments of the command line, in the table's key order.
  std::map<std::wstring, std::wstring> commandLineProperties;
  // The silent configuration of a silent run; null in the wizard.
  const ISilentConfigData* silentConfig = nullptr;
};
