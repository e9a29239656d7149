#pragma once
// The launcher of a run as the MSI manager sees it: it opens the main package
// (or the installed product's cached copy), sets the bundle's properties and
// runs the captured initializer pass. The launchers live in the engine; the
// MSI manager owns the one chosen for the run.

#include <windows.h>
#include <msi.h>

#include <string>

class IEventDispatcher;

class ISetupLauncher {
 public:
  virtual ~ISetupLauncher() = default;
  // 1 when the package handle is ready and the initializer ran (or was not needed), else 0.
  [[nodiscard]] virtual int Launch(IEventDispatcher* dispatcher) = 0;
  // The package the wizard works on; empty when the bundle names none.
  [[nodiscard]] virtual std::wstring GetPackageLocation() = 0;
  // The package whose features are costed; empty when there is none.
  [[nodiscard]] virtual std::wstring GetMainProductLocation() = 0;
  // Sets the installer's own user-interface level, then opens the package
  // and hands its handles to the MSI manager; false (logged) on failure.
  [[nodiscard]] virtual bool OpenPackageWithUILevel(const std::wstring& location, INSTALLUILEVEL level) = 0;
  // Called when the run is prepared, once the product update has decided
  // which products run and while the package handles are still open.
  virtual void PrepareRun() {}
  // Starts opening the package of the initializer pass on a worker thread so
  // the caller can go on meanwhile; Launch takes what was opened. Launchers
  // that change the package as they open it (transforms, patches) open it
  // in Launch as before.
  virtual void OpenPackageAhead() {}
  // Waits until what OpenPackageAhead started is done.
  virtual void WaitForPackageAhead() {}
};
