#pragma once
// Picks the class of a wizard dialog by its WiX name: the names with a fixed
// meaning for the bootstrapper get their own behaviour, every other dialog is
// a page (in the frame) or a pop-up (spawned or before the frame).

#include <functional>
#include <memory>
#include <string>

#include "ui/host/DynamicDialog.h"

namespace ui {

// The dialogs the bootstrapper knows by name.
enum class KnownDialog {
  kNone,
  kCheckProcess,
  kLanguage,
  kBrand,
  kPrepareToInstall,
  kError,
  kProgress,
  kPrepare,
  kRestart,
  kUnavailableSource,
  kFilesInUse,
  kGeneralMessage,
  kBrowse,
  kOutOfDisk,
  kCustomize,
  kMaintenanceType,
};

[[nodiscard]] KnownDialog ClassifyDialogName(const std::wstring& name);

// The text and style an error, files-in-use or message dialog shows.
struct DialogMessage {
  std::wstring text;
  UINT style = 0;
  // For the restart question: asks the application to restart at the end.
  std::function<void()> onRestart;
};

// The message-box style that stands in for a question dialog the WiX sources
// lack (ErrorDlg keeps the requested style); 0 for every other dialog.
[[nodiscard]] UINT FallbackMessageBoxStyle(const std::wstring& name, UINT requested);

// Null when the WiX model has no dialog of that name.
[[nodiscard]] std::unique_ptr<CDynamicDialog> CreateWizardDialog(const std::wstring& name,
                                                                 const DialogServices& services, int mode,
                                                                 const DialogMessage& message);

}  // namespace ui
