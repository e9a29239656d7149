#pragma once
// The WiX SelectionTree: the main package's features in a tree view with
// the icon of their state, a pop-up menu (a click on an item's icon, Space
// or the context-menu key) to change them, and the selected feature's
// description, folder and size told to the dialog's subscribers.

#include <memory>
#include <string>

#include "platform/UniqueResource.h"
#include "ui/controls/ControlWindow.h"
#include "ui/controls/FeatureTree.h"
#include "ui/controls/IPropertyControl.h"
#include "ui/controls/MenuEx_BT.h"

namespace ui {

class IControlHost;

class CSelectionTree_BT : public CControlWindow, public IPropertyControl {
 public:
  // Menu commands and the states they ask for.
  static constexpr UINT kMenuLocal = 32787;
  static constexpr UINT kMenuAllLocal = 32782;
  static constexpr UINT kMenuAbsent = 32783;

  CSelectionTree_BT(const CWixControl* control, const ControlContext& context, IControlHost& host);
  ~CSelectionTree_BT() override;

  void OnAttached() override;
  bool OnNotifyMessage(const NMHDR& header, LRESULT& result) override;
  void SetDisplayText(const std::wstring&) override {}
  void RefreshFromProperty() override { Publish(); }

  // Carries out a menu command on the item's feature (as the menu does).
  bool ApplyCommand(HTREEITEM item, UINT command);
  [[nodiscard]] CFeatureTree* GetFeatureTree() const { return tree_.get(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  const wchar_t* AccessibleNamePattern() const override { return L"BootstrapperSelectionTree%ld"; }

 private:
  void BuildImages();
  void ShowMenu(HTREEITEM item);
  void Publish();
  [[nodiscard]] std::wstring Localized(const wchar_t* id, const wchar_t* builtIn) const;
  [[nodiscard]] std::wstring SizeText(const CWixFeature& feature) const;

  IControlHost& host_;
  std::unique_ptr<CFeatureTree> tree_;
  platform::UniqueHImageList images_;
  platform::UniqueHIcon menuIcons_[3];
  CMenuEx_BT* openMenu_ = nullptr;
};

}  // namespace ui
