#include "engine/PackageOpenAhead.h"

#include "engine/SetupLauncherBase.h"
#include "msi/MsiEntryPoints.h"
#include "platform/StringUtil.h"

CPackageOpenAhead::~CPackageOpenAhead() { Wait(); }

bool CPackageOpenAhead::Start(const std::wstring& location) {
  if (worker_ || result_) return false;
  result_ = std::make_unique<Result>();
  result_->location = location;
  worker_ = platform::SharedTaskThread().Run(&CPackageOpenAhead::WorkerMain, this);
  if (!worker_) {
    result_.reset();
    return false;
  }
  return true;
}

void CPackageOpenAhead::Wait() {
  // Letting go of a task waits for its end.
  worker_ = platform::CTask();
}

std::unique_ptr<CPackageOpenAhead::Result> CPackageOpenAhead::Take(const std::wstring& location) {
  Wait();
  if (!result_ || !platform::EqualsNoCase(result_->location, location)) return nullptr;
  return std::move(result_);
}

DWORD WINAPI CPackageOpenAhead::WorkerMain(void* self) {
  static_cast<CPackageOpenAhead*>(self)->Open();
  return 0;
}

void CPackageOpenAhead::Open() {
  // The same steps, in the same order, as a launch takes before its pass, on
  // one database: the file is opened once instead of three times.
  Result& result = *result_;
  platform::UniqueMsiHandle database;
  result.problem = CSetupLauncherBase::PackageOpenProblem(result.location, &database);
  if (!result.problem.empty()) return;
  result.forThisProcessor = CSetupLauncherBase::IsDatabaseForThisProcessor(database.Get());
  if (!result.forThisProcessor) return;
  if (MsiSetInternalUIStub(INSTALLUILEVEL_FULL, nullptr) == INSTALLUILEVEL_NOCHANGE) return;
  MSIHANDLE package = 0;
  if (MsiOpenPackageStub(platform::Format(L"#%ld", static_cast<long>(database.Get())).c_str(), &package) !=
      ERROR_SUCCESS) {
    return;
  }
  result.database = std::move(database);
  result.package.Reset(package);
}
