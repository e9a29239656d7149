#pragma once
// The initial condition of modify and repair runs: every product that will
// run still finds its file at the bundle's source.

class ISetupConfigData;

// True when each product of each group that is not skipped, with a location
// that is not below the installation folder, exists after the path rule;
// false with `missing` set to 1 at the first file that does not (logged).
[[nodiscard]] bool CheckSourceFilesPresent(ISetupConfigData& record, int& missing);
