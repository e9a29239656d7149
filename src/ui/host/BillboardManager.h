#pragma once
// The billboard of a run: in the main frame's billboard area, a title that
// says what the run does, the list of the bundle's product groups with a state
// icon each, and a bar that moves on with every product. The executor's
// notifications reach it through the event mapper, on the user-interface
// thread.

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "ui/controls/ControlWindow.h"

class IEventDispatcher;
class IEventMapper;
class IMaindialogConfigData;
class IProductAttributes;
class IProductGroup;
class ISetupConfigData;
class IStyleConfigData;

namespace ui {
class CBillboardListBox_BT;
class CProgressBar_BT;
class CText_BT;
}  // namespace ui

class CBillboardManager {
 public:
  CBillboardManager(ISetupConfigData& record, IStyleConfigData* style, const IMaindialogConfigData* mainConfig,
                    IEventDispatcher& dispatcher, HWND frame, const ui::ControlContext& context);
  ~CBillboardManager();
  CBillboardManager(const CBillboardManager&) = delete;
  CBillboardManager& operator=(const CBillboardManager&) = delete;

  // Registers with the event mapper and creates the title, list and bar.
  [[nodiscard]] bool Create();
  // One line per group shown in the user interface, all waiting.
  [[nodiscard]] bool Populate();

  void OnRun(int phase);
  void OnProductGroup(int phase, IProductGroup* group, int result);
  void OnProduct(int phase, IProductAttributes* product, int value);
  void OnRollback(int phase, int steps);
  void OnRollbackGroup(int phase, IProductGroup* group, int failed);
  void OnRollbackProduct(int phase, IProductAttributes* product, int value);

  // The run's page is gone: the billboard leaves the frame's area to the next page.
  void Hide();

  // The list line's state for a group's result (0 done, 1 failed, 2 warning, 3 note).
  [[nodiscard]] static int StateForGroupResult(int result);
  // The bar's step for a number of groups; -1 without groups.
  [[nodiscard]] static int StepForGroupCount(int count);

 private:
  void EnableCancel(bool enable);
  void SetTitle(const std::wstring& text);
  void SetItemState(IProductGroup* group, int state);
  void StepBar();
  // A product that ended without a status (success) still moves the bar on.
  void CloseOpenProduct();
  [[nodiscard]] std::wstring GroupName(IProductGroup& group) const;

  ISetupConfigData& record_;
  IStyleConfigData* style_;
  const IMaindialogConfigData* mainConfig_;
  IEventDispatcher& dispatcher_;
  HWND frame_;
  IEventMapper* mapper_ = nullptr;
  ui::ControlContext context_;
  std::unique_ptr<ui::CText_BT> title_;
  std::unique_ptr<ui::CBillboardListBox_BT> list_;
  std::unique_ptr<ui::CProgressBar_BT> bar_;
  bool rollingBack_ = false;
  bool productOpen_ = false;
  std::wstring titlePrefix_;
  std::map<const IProductGroup*, int> items_;
};
