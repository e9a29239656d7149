#include "wix/WixSourceReader.h"

#include "config/IIconList.h"
#include "config/ISetupConfigData.h"
#include "config/ISetupConfigDataForParser.h"
#include "xml/Parser.h"
#include "log/Log.h"
#include "platform/StringUtil.h"
#include "wix/IWixDataManager.h"
#include "wix/IWixRectConverter.h"
#include "wix/LocReference.h"
#include "wix/WixControlReader.h"
#include "wix/WixDialog.h"
#include "wix/WixFeature.h"
#include "wix/WixSourceFiles.h"

namespace {

struct DialogFlag {
  const wchar_t* name;
  int bit;
  bool clears;  // "yes" switches a default-on bit off
};

constexpr DialogFlag kDialogFlags[] = {
    {L"KeepModeless", wixbits::kDialogKeepModeless, false},
    {L"ErrorDialog", wixbits::kDialogError, false},
    {L"CustomPalette", wixbits::kDialogUseCustomPalette, false},
    {L"Hidden", wixbits::kDialogVisible, true},
    {L"LeftScroll", wixbits::kDialogLeftScroll, false},
    {L"Modeless", wixbits::kDialogModal, true},
    {L"NoMinimize", wixbits::kDialogMinimize, true},
    {L"RightAligned", wixbits::kDialogRightAligned, false},
    {L"RightToLeft", wixbits::kDialogRightToLeft, false},
    {L"SystemModal", wixbits::kDialogSysModal, false},
    {L"TrackDiskSpace", wixbits::kDialogTrackDiskSpace, false},
};

int ApplyDialogFlag(int word, const std::wstring& name, const std::wstring& value) {
  if (value != L"yes") return word;
  for (const DialogFlag& flag : kDialogFlags) {
    if (name == flag.name) return flag.clears ? (word & ~flag.bit) : (word | flag.bit);
  }
  return word;
}

}  // namespace

CWixSourceReader::CWixSourceReader(ISetupConfigData& record, ISetupConfigDataForParser& recordForParser,
                                   IWixDataModelForParser& model, const IWixRectConverter& converter)
    : record_(record),
      recordForParser_(recordForParser),
      model_(model),
      converter_(converter),
      binaryPath_(recordForParser.GetRCBinaryPath()) {}

int CWixSourceReader::ParseWixFile(const std::wstring& path) {
  LogDebug(L"Parsing of the Wix File %s Started...", path.c_str());
  CXmlNode root;
  std::wstring errorText;
  if (!CParser::LoadXmlFile(path, root, errorText)) {
    LogError(errorText.empty() ? platform::Format(L"The Wix file %s has no root element.", path.c_str()) : errorText);
    return 0;
  }
  try {
    if (ParseDocument(root, path) == 0) return 0;
  } catch (...) {
    LogError(L"CWixSourceReader::ParseWixFile() - Exception while reading the Wix file %s.", path.c_str());
    return 0;
  }
  LogDebug(L"Parsing of the  Wix File %s completed Successfully.", path.c_str());
  return 1;
}

int CWixSourceReader::ParseDocument(const CXmlNode& root, const std::wstring& path) {
  IIconListForParser* icons = recordForParser_.GetOrCreateIconList();
  if (icons == nullptr) {
    LogError(L"Unable to create the icon list object.");
    return 0;
  }
  ReadWixVariables(root);
  if (!ParseBinaries(root, *icons, path)) return 0;
  auto dialogs = root.SelectNodes(L"Fragment/UI/Dialog|Product/UI/Dialog");
  if (!dialogs) return 0;
  for (const CXmlNode& dialog : *dialogs) {
    if (!ParseDialog(dialog, path)) return 0;
  }
  ParseDeferredPublishes(root);
  auto features = root.SelectNodes(L"Fragment/Feature|Fragment/FeatureGroup/Feature|Product/Feature");
  if (!features) return 0;
  for (const CXmlNode& feature : *features) model_.AddFeature(ParseFeature(feature));
  ParseFeatureRefs(root);
  return 1;
}

void CWixSourceReader::ParseFeatureRefs(const CXmlNode& root) {
  // Features added under a reference to a parent defined elsewhere.
  auto references = root.SelectNodes(L"Fragment/FeatureRef|Product/FeatureRef");
  if (!references) return;
  for (const CXmlNode& reference : *references) {
    const std::wstring parentId = reference.GetAttribute(L"Id");
    auto children = reference.SelectNodes(L"Feature");
    if (!children) continue;
    CWixFeature* parent = model_.FindFeature(parentId);
    for (const CXmlNode& child : *children) {
      std::unique_ptr<CWixFeature> feature = ParseFeature(child);
      if (parent != nullptr) {
        parent->AddChild(std::move(feature));
        continue;
      }
      // An orphan is still a feature of the package: the user sees it.
      LogWarning(L"The feature %s names the parent feature %s, which is not defined; it is shown at the top level.",
                 feature->GetId().c_str(), parentId.c_str());
      model_.AddFeature(std::move(feature));
    }
  }
}

void CWixSourceReader::ReadWixVariables(const CXmlNode& root) {
  auto variables = root.SelectNodes(L"Fragment/WixVariable|Product/WixVariable");
  if (!variables) return;
  for (const CXmlNode& variable : *variables) {
    const std::wstring id = variable.GetAttribute(L"Id");
    if (id.empty()) continue;
    (void)variables_.Add(id, variable.GetAttribute(L"Value"), variable.GetAttribute(L"Overridable") == L"yes");
  }
}

// Binaries lie under UI in most sources, but the library's Common.wxs keeps
// them straight under its Fragment.
bool CWixSourceReader::ParseBinaries(const CXmlNode& root, IIconListForParser& icons, const std::wstring& path) {
  auto binaries = root.SelectNodes(L"Fragment/Binary|Product/Binary|Fragment/UI/Binary|Product/UI/Binary");
  if (!binaries) return false;
  for (const CXmlNode& binary : *binaries) {
    const std::wstring id = binary.GetAttribute(L"Id");
    std::wstring source = binary.GetAttribute(L"SourceFile");
    if (source.empty()) {
      LogDebug(L"CWixSourceReader::ParseBinaries() - The binary %s has no SourceFile and is not added.", id.c_str());
      continue;
    }
    (void)platform::ReplaceAll(source, L"$(var.RC_BinaryPath)", binaryPath_);
    // Preprocessor variables come before WiX variables, as in WiX: a default
    // "!(wix.X=$(var.y))" already names the library's file.
    source = ResolveLibraryFileVariables(source, path);
    if (HasWixVariable(source)) {
      pendingBinaries_.push_back(PendingBinary{id, source});
    } else {
      AddBinary(icons, id, source);
    }
  }
  return true;
}

void CWixSourceReader::AddBinary(IIconListForParser& icons, const std::wstring& id, const std::wstring& source) {
  if (HoldsUnboundVariable(source)) {
    LogWarning(L"The binary %s names %s, which holds a variable the bundle cannot know; it is not added.", id.c_str(),
               source.c_str());
    return;
  }
  (void)icons.AddImage(id, source);
}

void CWixSourceReader::LoadSourceTexts(CWixDialog& dialog, const std::wstring& path) const {
  for (const auto& control : dialog.GetControls()) {
    if (control->GetTextSourceFile().empty()) continue;
    control->SetTextSourceFile(ResolveLibraryFileVariables(control->GetTextSourceFile(), path));
    if (!HasWixVariable(control->GetTextSourceFile())) LoadSourceText(*control);
  }
}

// A relative source file lies in the setup folder, as the relative paths of
// the binaries do. The text keeps no text style: rich text begins "{\rtf".
void CWixSourceReader::LoadSourceText(CWixControl& control) const {
  std::wstring file = control.GetTextSourceFile();
  if (HoldsUnboundVariable(file)) {
    LogWarning(L"The text of the control %s names %s, which holds a variable the bundle cannot know.",
               control.GetId().c_str(), file.c_str());
    return;
  }
  if (!IsAbsoluteFilePath(file)) file = record_.GetSetupFolder() + file;
  std::wstring text;
  if (!ReadEightBitTextFile(file, text)) {
    LogWarning(L"The text of the control %s could not be read from %s; it stays empty.", control.GetId().c_str(),
               file.c_str());
    return;
  }
  control.SetText(text, std::wstring());
}

bool CWixSourceReader::ParseDialog(const CXmlNode& element, const std::wstring& path) {
  const std::wstring id = element.GetAttribute(L"Id");
  if (id.empty()) {
    LogError(L"CWixSourceReader::ParseDialog() - A dialog without an Id in the Wix file %s.", path.c_str());
    return false;
  }
  if (model_.HasDialog(id)) {
    LogDebug(L"Dialog id %s already parsed and it is in the dialog list", id.c_str());
    return true;
  }
  const IWixLocalizationList* strings = record_.GetWixLocalizationList();
  auto dialog = std::make_unique<CWixDialog>(id);
  int width = 0, height = 0;
  int word = dialog->GetAttributes();
  if (auto attributes = element.GetAttributes()) {
    for (const CXmlNode& attribute : *attributes) {
      const std::wstring name = attribute.GetName();
      if (name == L"Title") {
        dialog->SetTitle(ResolveLocReference(strings, attribute.GetValue()));
      } else if (name == L"Width") {
        width = platform::ToInt(attribute.GetValue());
      } else if (name == L"Height") {
        height = platform::ToInt(attribute.GetValue());
      } else {
        word = ApplyDialogFlag(word, name, attribute.GetValue());
      }
    }
  }
  dialog->SetAttributes(word);
  dialog->SetRect(converter_.ToDialogUnits(RECT{0, 0, width, height}));
  auto controls = element.SelectNodes(L"Control");
  if (!controls) {
    LogError(L"ParseControls method failed for the dialog %s.", id.c_str());
    return false;
  }
  CWixControlReader reader(strings, converter_);
  for (const CXmlNode& controlElement : *controls) {
    std::unique_ptr<CWixControl> control = reader.ReadControl(controlElement, id);
    if (!control) {
      LogError(L"ParseControls method failed for the dialog %s.", id.c_str());
      return false;
    }
    dialog->AddControl(std::move(control));
  }
  LoadSourceTexts(*dialog, path);
  return model_.AddDialog(std::move(dialog));
}

void CWixSourceReader::ParseDeferredPublishes(const CXmlNode& root) {
  auto publishes = root.SelectNodes(L"Fragment/UI/Publish|Product/UI/Publish");
  if (!publishes) return;
  for (const CXmlNode& element : *publishes) {
    const std::wstring dialogId = element.GetAttribute(L"Dialog");
    const std::wstring controlId = element.GetAttribute(L"Control");
    if (dialogId.empty() || controlId.empty()) continue;
    CXmlNode order = element.GetAttributeNode(L"Order");
    model_.AddDeferredPublish(dialogId, controlId, CWixControlReader::ReadPublish(element),
                              order ? platform::ToInt(order.GetValue()) : 1);
  }
}

int CWixSourceReader::CompleteParse() {
  const int attached = model_.AttachDeferredPublishes();
  BindWixVariables();
  variables_.Clear();
  pendingBinaries_.clear();
  return attached;
}

void CWixSourceReader::BindWixVariables() {
  auto bind = [this](std::wstring& text) {
    if (HasWixVariable(text)) text = ResolveWixVariables(variables_, text);
  };
  if (!pendingBinaries_.empty()) {
    IIconListForParser* icons = recordForParser_.GetOrCreateIconList();
    if (icons == nullptr) {
      LogError(L"Unable to create the icon list object.");
    } else {
      for (PendingBinary& binary : pendingBinaries_) {
        bind(binary.source);
        AddBinary(*icons, binary.id, binary.source);
      }
    }
  }
  model_.ForEachDialog([this, &bind](CWixDialog& dialog) {
    std::wstring title = dialog.GetTitle();
    bind(title);
    dialog.SetTitle(title);
    for (const auto& control : dialog.GetControls()) {
      const bool textWaits = HasWixVariable(control->GetTextSourceFile());
      // A text read from its file is content, not authoring: WiX binds nothing in it.
      const bool keepText = !control->GetTextSourceFile().empty() && HasWixVariable(control->GetText());
      const std::wstring kept = keepText ? control->GetText() : std::wstring();
      control->RewriteTexts(bind);
      if (keepText) control->SetText(kept, std::wstring());
      if (textWaits) LoadSourceText(*control);
    }
  });
}

std::unique_ptr<CWixFeature> CWixSourceReader::ParseFeature(const CXmlNode& element) const {
  const IWixLocalizationList* strings = record_.GetWixLocalizationList();
  auto feature = std::make_unique<CWixFeature>(element.GetAttribute(L"Id"));
  feature->SetTitle(ResolveLocReference(strings, element.GetAttribute(L"Title")));
  feature->SetDescription(ResolveLocReference(strings, element.GetAttribute(L"Description")));
  feature->SetDisplay(element.GetAttribute(L"Display"));
  if (CXmlNode level = element.GetAttributeNode(L"Level")) feature->SetLevel(platform::ToInt(level.GetValue()));
  feature->SetConfigurableDirectory(element.GetAttribute(L"ConfigurableDirectory"));
  const std::wstring absent = element.GetAttribute(L"Absent");
  if (absent == L"allow") feature->SetAbsent(0);
  if (absent == L"disallow") feature->SetAbsent(1);
  const std::wstring installDefault = element.GetAttribute(L"InstallDefault");
  feature->SetInstallDefault(installDefault == L"followParent" ? 0 : installDefault == L"source" ? 2 : 1);
  auto children = element.SelectNodes(L"*");
  if (children) {
    for (const CXmlNode& child : *children) {
      const std::wstring name = child.GetName();
      if (name == L"Condition") {
        feature->AddCondition(WixFeatureCondition{platform::ToInt(child.GetAttribute(L"Level")), child.GetText()});
      } else if (name == L"Feature") {
        feature->AddChild(ParseFeature(child));
      }
    }
  }
  return feature;
}
