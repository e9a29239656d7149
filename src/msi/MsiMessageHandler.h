#pragma once
// Receives Windows Installer's messages during a package run and routes them
// into the run's own dialogs (through the event dispatcher) and progress bar
// (through the event mapper). Windows Installer calls the two registered
// callbacks on the thread that started the installation; they forward to the
// handler that registered last.

#include <windows.h>
#include <msi.h>

#include <string>

#include "platform/UniqueResource.h"

class IEventDispatcher;
class IEventMapper;

class CMsiMessageHandler {
 public:
  CMsiMessageHandler();
  ~CMsiMessageHandler();
  CMsiMessageHandler(const CMsiMessageHandler&) = delete;
  CMsiMessageHandler& operator=(const CMsiMessageHandler&) = delete;

  // Takes the dispatcher and its mapper as the targets of the messages.
  void Bind(IEventDispatcher* dispatcher);
  // Registers the record (files in use) and string callbacks and makes this
  // handler their target.
  void RegisterMessageHandlers(MSIHANDLE package);
  // Makes the window through which calls from other threads reach this
  // thread, ahead of RegisterMessageHandlers (which makes it otherwise); to be
  // called on the thread that runs the installations.
  void PrepareRelay();

  // One message of the string callback; returns what Windows Installer expects.
  int HandleMessage(UINT messageType, const std::wstring& text);
  // One files-in-use message of the record callback.
  int HandleRecordMessage(UINT messageType, MSIHANDLE record);

  // Asks the running installation to stop at its next progress message.
  void Cancel();
  void ClearRollbackCleanup() { rollbackCleanup_ = false; }
  void SetCapture(bool capture) { capture_ = capture; }
  [[nodiscard]] const std::wstring& GetCapturedDialog() const { return capturedDialog_; }

 private:
  static int WINAPI StringCallback(LPVOID context, UINT messageType, LPCWSTR message);
  static int WINAPI RecordCallback(LPVOID context, UINT messageType, MSIHANDLE record);
  // Windows Installer may call from another thread (under Wine, messages of
  // a DLL custom action arrive on its RPC thread): such a call is handed to
  // the thread that registered the handlers, which pumps messages while the
  // installation waits, so questions and progress stay on the user-interface thread.
  struct Relayed;
  [[nodiscard]] bool RelayToOwnerThread(Relayed& call);
  static LRESULT CALLBACK RelayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  void HandleActionStart(const std::wstring& text);
  int HandleProgress(const std::wstring& text);

  IEventDispatcher* dispatcher_ = nullptr;
  IEventMapper* mapper_ = nullptr;
  // The fields of the last progress message (type, 2, 3, 4).
  int fields_[4] = {0, 0, 0, 0};
  int total_ = 0;
  int position_ = 0;
  int ticksSoFar_ = 0;
  bool forward_ = true;
  bool scriptInProgress_ = false;
  bool actionDataStepping_ = false;
  bool firstMessage_ = true;
  bool cancelRequested_ = false;
  bool capture_ = false;
  std::wstring capturedDialog_;
  bool rollbackCleanup_ = false;
  DWORD ownerThread_ = 0;
  platform::UniqueWindow relay_;
};
