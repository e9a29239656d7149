#include "ui/controls/VolumeCostList_BT.h"

#include <commctrl.h>

#include "config/IProductAttributes.h"
#include "config/IProductGroup.h"
#include "config/IProductGroupList.h"
#include "config/IProductList.h"
#include "config/ISetupConfigData.h"
#include "features/FeatureUtility.h"
#include "features/ProductChecks.h"
#include "log/Log.h"
#include "msi/IMSIManager.h"
#include "platform/DriveSpace.h"
#include "ui/controls/DefaultIcons.h"
#include "ui/controls/DriveFilter.h"
#include "ui/controls/PathValidation.h"
#include "ui/controls/SizeText.h"
#include "wix/IWixDataManager.h"
#include "wix/WixControl.h"

namespace ui {

namespace {

struct Column {
  const wchar_t* id;
  const wchar_t* builtIn;
};
const Column kColumns[] = {{L"UITextVolumeCostVolume", L"Volume"},
                           {L"UITextVolumeCostSize", L"Disk Size"},
                           {L"UITextVolumeCostAvailable", L"Available"},
                           {L"UITextVolumeCostRequired", L"Required"},
                           {L"UITextVolumeCostDifference", L"Difference"}};

// The megabytes the bundle's products ask for, counted as the run counts
// them: once the run has decided which products go (its own count), else the
// products other than the main one that the user has not switched off and
// whose condition and property let them run.
int ProductMegabytes(ISetupConfigData* record, IMSIManager* msi) {
  IProductGroupList* groups = record != nullptr ? record->GetProductGroupList() : nullptr;
  if (groups == nullptr) return 0;
  int total = 0;
  if (groups->GetProductsToExecuteCount() > 0) {
    groups->GetTotalSpaceRequired(total);
    return total;
  }
  groups->ResetIteration();
  while (IProductGroup* group = groups->GetNextGroup()) {
    IProductList* products = group->GetProductList();
    if (products == nullptr) continue;
    products->ResetIteration();
    while (IProductAttributes* product = products->GetNextProduct()) {
      int selected = 1;
      if (product->IsMainProduct() ||
          (CFeatureUtility::FindNonFeatureSelection(product->GetProductName(), selected) && selected == 0)) {
        continue;
      }
      if (msi != nullptr && (!CheckProductCondition(*msi, product->GetCondition()) ||
                             !CheckProductProperty(*msi, product->GetPropertyName()))) {
        continue;
      }
      total += product->GetSpaceRequired();
    }
  }
  return total;
}

}  // namespace

CVolumeCostList_BT::CVolumeCostList_BT(const CWixControl* control, const ControlContext& context)
    : CControlWindow(control, context) {}

CVolumeCostList_BT::~CVolumeCostList_BT() {
  if (GetHwnd() != nullptr) (void)ListView_SetImageList(GetHwnd(), nullptr, LVSIL_SMALL);
}

std::wstring CVolumeCostList_BT::Localized(const wchar_t* id, const wchar_t* builtIn) const {
  std::wstring text = context_.wix != nullptr ? context_.wix->GetLocalizedText(id) : std::wstring();
  return text.empty() || text == id ? std::wstring(builtIn) : text;
}

void CVolumeCostList_BT::OnAttached() {
  HWND list = GetHwnd();
  (void)ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  images_ = CreateSmallImageList(32, 2);
  if (!images_) {
    LogDebug(L"Unable to creat image list for drives icons");
  } else {
    driveImage_ = AddImage(images_.Get(), context_.record, L"DriveIcon", DefaultImage::kDrive);
    networkImage_ = AddImage(images_.Get(), context_.record, L"NetworkDrive", DefaultImage::kNetworkDrive);
    (void)ListView_SetImageList(list, images_.Get(), LVSIL_SMALL);
  }
  RECT client = {};
  ::GetClientRect(list, &client);
  const int width = (client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL)) / 5;
  int index = 0;
  for (const Column& column : kColumns) {
    std::wstring title = Localized(column.id, column.builtIn);
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    info.fmt = index == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    info.cx = width > 40 ? width : 60;
    info.pszText = title.data();
    info.iSubItem = index;
    (void)ListView_InsertColumn(list, index, &info);
    ++index;
  }
  Fill();
}

void CVolumeCostList_BT::Fill() {
  HWND list = GetHwnd();
  (void)ListView_DeleteAllItems(list);
  IMSIManager* msi = context_.msi;
  const std::wstring installDir = msi != nullptr ? msi->GetProperty(L"INSTALLDIR", false) : std::wstring();
  const int productMegabytes = ProductMegabytes(context_.record, msi);
  CFeatureUtility::DriveCostMap costs;
  if (msi != nullptr && context_.record != nullptr && context_.wix != nullptr) {
    // The utility only reads the model's features.
    CFeatureUtility(const_cast<IWixDataManager*>(context_.wix)).CalculateDriveCost(costs, *context_.record, *msi);
  }
  {
    CQuietDriveProbe quiet;
    rows_ = ComputeVolumeRows(ShownDrives(control_, installDir), installDir, productMegabytes, costs,
                              platform::QueryDriveSpace, SystemDriveType);
  }
  for (size_t i = 0; i < rows_.rows.size(); ++i) {
    const VolumeRow& row = rows_.rows[i];
    std::wstring cells[5] = {row.root, FormatSize(row.size), FormatSize(row.available), FormatSize(row.required),
                             FormatSize(row.Difference())};
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = cells[0].data();
    item.iImage = row.remote ? networkImage_ : driveImage_;
    const int inserted = ListView_InsertItem(list, &item);
    if (inserted < 0) continue;
    for (int column = 1; column < 5; ++column) ListView_SetItemText(list, inserted, column, cells[column].data());
  }
  insufficient_ = rows_.insufficient;
  ShowInsufficient();
}

void CVolumeCostList_BT::ShowInsufficient() {
  if (insufficient_ < 0) return;
  LogDebug(L"The index id %d does not have sufficient memory", insufficient_);
  (void)ListView_EnsureVisible(GetHwnd(), insufficient_, FALSE);
  ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

void CVolumeCostList_BT::MarkInsufficientDrive(const std::wstring& drive) {
  for (size_t i = 0; i < rows_.rows.size(); ++i) {
    if (drive.size() >= 2 && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, rows_.rows[i].root.c_str(), 2,
                                              drive.c_str(), 2) == CSTR_EQUAL) {
      insufficient_ = static_cast<int>(i);
      ShowInsufficient();
      return;
    }
  }
}

bool CVolumeCostList_BT::OnNotifyMessage(const NMHDR& header, LRESULT& result) {
  if (header.code == LVN_ITEMCHANGED && control_ != nullptr && !control_->GetProperty().empty()) {
    // The volume chosen in a VolumeSelectCombo goes to its property.
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uNewState & LVIS_SELECTED) != 0 && change.iItem >= 0 &&
        static_cast<size_t>(change.iItem) < rows_.rows.size()) {
      SetPropertyValue(rows_.rows[static_cast<size_t>(change.iItem)].root);
    }
    return false;
  }
  if (header.code != NM_CUSTOMDRAW) return false;
  auto& draw = const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      if (static_cast<int>(draw.nmcd.dwItemSpec) == insufficient_) {
        draw.clrTextBk = kInsufficientColour;
        // The selection colours would hide the mark.
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        result = CDRF_NEWFONT;
      } else {
        result = CDRF_DODEFAULT;
      }
      return true;
    default:
      result = CDRF_DODEFAULT;
      return true;
  }
}

}  // namespace ui
