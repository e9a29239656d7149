#pragma once
// Reads the WiX UI source files of the main package into the WiX UI model:
// binaries into the icon list, dialogs with their controls, control events
// authored under UI, and the feature tree.

#include <memory>
#include <string>

#include "xml/XmlNode.h"

class CWixDialog;
class CWixFeature;
class IIconListForParser;
class ISetupConfigData;
class ISetupConfigDataForParser;
class IWixDataModelForParser;
class IWixRectConverter;

class CWixSourceReader {
 public:
  // The record's RC_BinaryPath is taken now; texts are resolved through the
  // record's WiX string table as it stands when a file is read.
  CWixSourceReader(ISetupConfigData& record, ISetupConfigDataForParser& recordForParser,
                   IWixDataModelForParser& model, const IWixRectConverter& converter);

  // 1 when the file was read; 0 when it cannot be loaded, a dialog has no Id
  // or a control cannot be read (a failing dialog is not added).
  [[nodiscard]] int ParseWixFile(const std::wstring& path);

  // After the last file: hands the control events authored under UI to their
  // controls. Returns how many found their control.
  int CompleteParse();

 private:
  [[nodiscard]] int ParseDocument(const CXmlNode& root, const std::wstring& path);
  [[nodiscard]] bool ParseBinaries(const CXmlNode& root, IIconListForParser& icons);
  [[nodiscard]] bool ParseDialog(const CXmlNode& element, const std::wstring& path);
  void ParseDeferredPublishes(const CXmlNode& root);
  [[nodiscard]] std::unique_ptr<CWixFeature> ParseFeature(const CXmlNode& element) const;

  ISetupConfigData& record_;
  ISetupConfigDataForParser& recordForParser_;
  IWixDataModelForParser& model_;
  const IWixRectConverter& converter_;
  std::wstring binaryPath_;
};
