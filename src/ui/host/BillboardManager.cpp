#include "ui/host/BillboardManager.h"

#include <commctrl.h>

#include "config/ExecutionType.h"
#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/ISetupConfigData.h"
#include "features/WindowsInstallerUpdate.h"
#include "log/Log.h"
#include "msi/IEventDispatcher.h"
#include "msi/IEventMapper.h"
#include "platform/StringUtil.h"
#include "ui/controls/BillboardListBox_BT.h"
#include "ui/controls/ControlFactory.h"
#include "ui/controls/ListControls_BT.h"
#include "ui/controls/Text_BT.h"
#include "ui/style/IMaindialogConfigData.h"
#include "ui/style/IStyleConfigData.h"

namespace {

constexpr DWORD kTitleStyle = 0x50002000 | SS_OWNERDRAW;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | PBS_SMOOTH;
constexpr int kBarRange = 100;
constexpr wchar_t kBrandToken[] = L"%SelectedBrand%";

class CBillboardTitle : public ui::CText_BT {
 public:
  using CText_BT::CText_BT;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BillboardTitle"; }
};

class CBillboardProgressBar : public ui::CProgressBar_BT {
 public:
  using CProgressBar_BT::CProgressBar_BT;

 protected:
  const wchar_t* AccessibleNamePattern() const override { return L"BillboardProgressbar"; }
};

// Groups whose products the user may cancel one at a time.
bool FollowsCancelPerGroup(const IProductGroup& group) {
  const int kind = group.GetGroupKind();
  return kind == kGroupKindPrerequisites || kind == kGroupKindPostInstallProduct || kind == kGroupKindUninstallProducts;
}

RECT AreaRect(const IMaindialogConfigData* config, int key) {
  const RECT* rect = config != nullptr ? config->GetMainDialogRect(key) : nullptr;
  return rect != nullptr ? *rect : RECT{0, 0, 0, 0};
}

}  // namespace

CBillboardManager::CBillboardManager(ISetupConfigData& record, IStyleConfigData* style,
                                     const IMaindialogConfigData* mainConfig, IEventDispatcher& dispatcher, HWND frame,
                                     const ui::ControlContext& context)
    : record_(record), style_(style), mainConfig_(mainConfig), dispatcher_(dispatcher), frame_(frame), context_(context) {}

CBillboardManager::~CBillboardManager() {
  if (mapper_ != nullptr) mapper_->SetBillboardManager(nullptr);
}

int CBillboardManager::StateForGroupResult(int result) {
  switch (result) {
    case 1: return ui::kBillboardFailed;
    case 2: return ui::kBillboardWarning;
    case 3: return ui::kBillboardInformation;
    default: return ui::kBillboardWasInstalled;
  }
}

int CBillboardManager::StepForGroupCount(int count) { return count > 0 ? kBarRange / count : -1; }

bool CBillboardManager::Create() {
  mapper_ = dispatcher_.GetEventMapper();
  if (mapper_ != nullptr) mapper_->SetBillboardManager(this);
  if (mainConfig_ == nullptr || mainConfig_->GetMainDialogRect(kAreaBillBoard) == nullptr) {
    LogDebug(L"The main dialog configuration gives the billboard no area; it is not shown.");
  }
  title_ = std::make_unique<CBillboardTitle>(nullptr, context_);
  if (!title_->Create(0, L"STATIC", L"BillboardTitle", kTitleStyle, AreaRect(mainConfig_, kAreaBillboardTitle),
                      frame_, ui::CControlFactory::NextControlId())) {
    LogError(L"The billboard title could not be created.");
    title_.reset();
    return false;
  }
  HFONT titleFont = style_ != nullptr ? style_->GetFont(L"WixUI_Font_Title") : nullptr;
  HFONT listFont = style_ != nullptr ? style_->GetFont(L"DefaultUIFont") : nullptr;
  HFONT frameFont = reinterpret_cast<HFONT>(::SendMessageW(frame_, WM_GETFONT, 0, 0));
  ::SendMessageW(title_->GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont != nullptr ? titleFont : frameFont),
                 TRUE);

  const COLORREF text = style_ != nullptr ? style_->GetControlStyleValue(kStyleListBox, kModeStandard, kFontColor) : 0;
  list_ = std::make_unique<ui::CBillboardListBox_BT>(context_, text);
  if (!list_->Create(0, L"LISTBOX", L"BillboardListBox", ui::CBillboardListBox_BT::kStyle,
                     AreaRect(mainConfig_, kAreaBillBoard), frame_, ui::CControlFactory::NextControlId())) {
    LogError(L"The billboard list could not be created.");
    list_.reset();
    return false;
  }
  ::SendMessageW(list_->GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(listFont != nullptr ? listFont : frameFont),
                 TRUE);
  list_->LoadStateImages();
  (void)list_->AddItem(L"Populating billboard...", ui::kBillboardWillBeInstalled);

  bar_ = std::make_unique<CBillboardProgressBar>(nullptr, context_);
  if (!bar_->Create(0, PROGRESS_CLASSW, L"", kBarStyle, AreaRect(mainConfig_, kAreaLeftProgressBar), frame_,
                    ui::CControlFactory::NextControlId())) {
    LogError(L"The billboard progress bar could not be created.");
    bar_.reset();
    return false;
  }
  ::SendMessageW(bar_->GetHwnd(), PBM_SETRANGE32, 0, kBarRange);
  // Above the run's page, which shares the frame's area; the page paints
  // around the billboard instead of over it.
  for (HWND child = ::GetWindow(frame_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::SetWindowLongPtrW(child, GWL_STYLE, ::GetWindowLongPtrW(child, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  for (HWND window : {title_->GetHwnd(), list_->GetHwnd(), bar_->GetHwnd()}) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return true;
}

std::wstring CBillboardManager::GroupName(IProductGroup& group) const {
  std::wstring name = group.GetDisplayName();
  (void)platform::ReplaceAll(name, kBrandToken, record_.GetBrand());
  return name;
}

bool CBillboardManager::Populate() {
  if (list_ == nullptr) return false;
  IProductGroupList* groups = record_.GetProductGroupList();
  int count = 0;
  if (groups == nullptr) {
    LogWarning(L"Unable to get the product group list.Billboard progress bar will not work properly");
  } else {
    groups->ResetIteration();
    while (groups->GetNextGroup() != nullptr) ++count;
  }
  const int step = StepForGroupCount(count);
  LogInformation(L"The no of products going for install/Modify/Repair/Remove is %d, Step is %d", count, step);
  if (bar_ != nullptr) ::SendMessageW(bar_->GetHwnd(), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
  list_->Clear();
  items_.clear();
  if (groups == nullptr) return false;
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    if (!group->IsShownInUI()) continue;
    const int index = list_->AddItem(GroupName(*group), ui::kBillboardWillBeInstalled);
    if (index >= 0) items_[group] = index;
  }
  return true;
}

void CBillboardManager::Hide() {
  for (auto* control : {static_cast<ui::CControlWindow*>(title_.get()), static_cast<ui::CControlWindow*>(list_.get()),
                        static_cast<ui::CControlWindow*>(bar_.get())}) {
    if (control != nullptr && control->GetHwnd() != nullptr) ::ShowWindow(control->GetHwnd(), SW_HIDE);
  }
}

void CBillboardManager::EnableCancel(bool enable) {
  if (mapper_ != nullptr) mapper_->EnableCancel(enable);
}

void CBillboardManager::SetTitle(const std::wstring& text) {
  if (title_ != nullptr) ::SetWindowTextW(title_->GetHwnd(), text.c_str());
}

void CBillboardManager::SetItemState(IProductGroup* group, int state) {
  const auto found = items_.find(group);
  if (list_ != nullptr && found != items_.end()) list_->SetItemState(found->second, state);
}

void CBillboardManager::StepBar() {
  if (bar_ != nullptr) ::SendMessageW(bar_->GetHwnd(), PBM_STEPIT, 0, 0);
}

void CBillboardManager::CloseOpenProduct() {
  if (!productOpen_) return;
  productOpen_ = false;
  StepBar();
}

void CBillboardManager::OnRun(int phase) {
  if (list_ == nullptr) return;
  const int type = record_.GetExecutionType();
  SetTitle(GetRunTitleText(record_, phase != 0));
  if (type != SETUPEXECTYPE_INSTALLATION) EnableCancel(phase != 0);
  if (phase != 0 && bar_ != nullptr) {
    CloseOpenProduct();
    // A finished run shows a full bar to whoever reads it, though it leaves the screen.
    if (!rollingBack_) ::SendMessageW(bar_->GetHwnd(), PBM_SETPOS, kBarRange, 0);
    ::ShowWindow(bar_->GetHwnd(), SW_HIDE);
  }
}

void CBillboardManager::OnProductGroup(int phase, IProductGroup* group, int result) {
  if (list_ == nullptr || group == nullptr) return;
  if (record_.GetExecutionType() == SETUPEXECTYPE_INSTALLATION && FollowsCancelPerGroup(*group)) {
    EnableCancel(phase != 0);
  }
  if (phase == 0) {
    SetItemState(group, ui::kBillboardBeingInstalled);
    titlePrefix_ = GetGroupProgressTitleText(record_, group->GetGroupKind());
    return;
  }
  CloseOpenProduct();
  SetItemState(group, StateForGroupResult(result));
}

void CBillboardManager::OnProduct(int phase, IProductAttributes* product, int) {
  if (list_ == nullptr || product == nullptr) return;
  if (phase == 0) {
    CloseOpenProduct();
    productOpen_ = true;
    if (mapper_ != nullptr) {
      mapper_->SetActionText(titlePrefix_.empty() ? product->GetProductName()
                                                  : titlePrefix_ + L" " + product->GetProductName());
    }
    if (record_.GetExecutionType() == SETUPEXECTYPE_INSTALLATION) EnableCancel(product->IsCancelEnabled());
    return;
  }
  CloseOpenProduct();
}

void CBillboardManager::OnRollback(int phase, int steps) {
  if (list_ == nullptr) return;
  if (phase == 0) {
    CloseOpenProduct();
    SetTitle(GetRollbackTitleText(record_, false));
    rollingBack_ = true;
    EnableCancel(false);
    if (bar_ != nullptr) {
      const int position = static_cast<int>(::SendMessageW(bar_->GetHwnd(), PBM_GETPOS, 0, 0));
      const int back = steps != 0 ? position / steps : position;
      ::SendMessageW(bar_->GetHwnd(), PBM_SETSTEP, static_cast<WPARAM>(-back), 0);
    }
    titlePrefix_ = GetRollbackProgressTitleText(record_);
    return;
  }
  if (bar_ != nullptr) ::ShowWindow(bar_->GetHwnd(), SW_HIDE);
  EnableCancel(true);
  rollingBack_ = false;
}

void CBillboardManager::OnRollbackGroup(int phase, IProductGroup* group, int failed) {
  if (list_ == nullptr || group == nullptr || FollowsCancelPerGroup(*group)) return;
  SetItemState(group, phase == 0 ? ui::kBillboardBeingInstalled
                                 : (failed != 0 ? ui::kBillboardFailed : ui::kBillboardWillBeInstalled));
}

void CBillboardManager::OnRollbackProduct(int phase, IProductAttributes* product, int) {
  if (list_ == nullptr || product == nullptr) return;
  if (phase == 0) {
    if (mapper_ != nullptr) {
      mapper_->SetActionText(titlePrefix_.empty() ? product->GetProductName()
                                                  : titlePrefix_ + L" " + product->GetProductName());
    }
    return;
  }
  StepBar();
}
