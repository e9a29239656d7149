#pragma once
// A bundle like the demo, laid out for silent runs of the real Setup.exe: the
// demo's main package (with its wizard sources), its sample package and the
// small test packages, a log folder of its own, and helpers that look at what
// a run left on the machine.

#include <string>
#include <vector>

#include "support/BundleFixture.h"
#include "support/ProcessRunner.h"

namespace e2etest {

struct BundleProduct {
  std::string xml;          // the <Product .../> element
  std::wstring productCode;  // empty for products Windows Installer does not know
};

// What sets one test bundle apart from the others.
struct SilentBundleOptions {
  std::string extraGeneral;     // more settings inside <General>
  std::string extraSections;    // sections before the product list
  std::wstring bundleKey;       // empty: SilentBundle::kBundleKey
  std::string silentWixFiles;   // the <WixFile> elements of SilentConfig.xml; empty: the demo's
  std::string maintenanceExePath = "Setup\\Setup.exe";  // relative to the installation folder
  // The <GeneralSettings> of SilentConfig.xml; empty: no error dialog, no indicator.
  std::string silentGeneral = "";
  // The whole <Logfile .../> element; empty: Logs\Setup.log in the bundle's
  // folder. "{bundle}" stands for the bundle's folder (with its backslash).
  std::string logfileElement = "";
};

struct SilentRun {
  testsupport::ProcessResult result;
  std::vector<std::wstring> messageBoxes;  // texts of the boxes answered
};

class SilentBundle {
 public:
  static constexpr wchar_t kBundleKey[] = L"E2ESilentBundle";
  static const wchar_t kStudioCode[];
  static const wchar_t kSamplesCode[];
  static const wchar_t kSmallACode[];
  static const wchar_t kSmallCCode[];

  // Products of the one ordinary group, in order; the first is the main product.
  // `extraSections` go into SetupConfig.xml before the product list.
  SilentBundle(const std::wstring& name, const std::vector<BundleProduct>& products,
               const std::string& silentProperties, const std::string& extraSections = "");
  SilentBundle(const std::wstring& name, const std::vector<BundleProduct>& products,
               const std::string& silentProperties, const SilentBundleOptions& options);
  ~SilentBundle();

  // The three demo-like products: studio (main, rollback), samples, SmallA.
  static std::vector<BundleProduct> DemoProducts();
  static BundleProduct Studio();
  static BundleProduct Samples();
  static BundleProduct SmallA();

  [[nodiscard]] SilentRun Run(const std::wstring& arguments);
  // Answers the message boxes of a process started some other way until it ends.
  [[nodiscard]] static SilentRun Follow(testsupport::RunningProcess& process);
  [[nodiscard]] std::wstring LogFolder() const { return logFolder_; }
  [[nodiscard]] std::wstring SetupLogText() const;
  // Every log file of the run (setup and package logs), as text.
  [[nodiscard]] std::wstring AllLogsText() const;
  [[nodiscard]] const testsupport::BundleFixture& Bundle() const { return bundle_; }

  // Removes every product of the bundle and the bundle's entry.
  void Clean();

 private:
  testsupport::BundleFixture bundle_;
  std::wstring logFolder_;
  std::wstring bundleKey_;
  std::vector<std::wstring> productCodes_;
};

// Windows Installer's product name for an installed product, empty when it is not installed.
std::wstring InstalledProductName(const std::wstring& productCode);
// The bundle's Add/Remove Programs entry: one string or DWORD value; false when missing.
bool ReadArpString(const std::wstring& name, std::wstring& value);
bool ReadArpDword(const std::wstring& name, DWORD& value);
bool ArpEntryExists();
// The command of a RunOnce value in the view the tested Setup.exe writes to; empty when there is none.
std::wstring RunOnceCommand(const std::wstring& name);
void DeleteRunOnceValue(const std::wstring& name);
bool FileExists(const std::wstring& path);

// The product with another sequence number.
BundleProduct InSequence(BundleProduct product, int sequence);
// An EXE product that notes its run in `marker` and ends with `exitCode`;
// with `uninstallArguments` its uninstall command notes "<name>-remove".
BundleProduct ExeProduct(int sequence, const std::string& name, const std::wstring& marker, int exitCode,
                         const std::string& reboot, const std::string& uninstallArguments = "");
// The lines of a text file, without line ends and empty lines.
std::vector<std::wstring> Lines(const std::wstring& path);
// The names of the EXE products that ran, in order.
std::vector<std::wstring> RunNames(const std::wstring& marker);

}  // namespace e2etest
