// Shows the fake wizard (tests/support/FakeWizard.h) until its Finish button
// ends it; the exit code tells which way it ended.
#include <windows.h>

#include "support/FakeWizard.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  testsupport::FakeWizard wizard;
  return wizard.Run();
}
