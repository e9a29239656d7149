#pragma once
// Reads the WiX UI source files of the main package into the WiX UI model:
// binaries into the icon list, dialogs with their controls, control events
// authored under UI, and the feature tree. WiX variables ("!(wix.Name)")
// are bound after the last file, from the WixVariable elements of all files,
// because a set declares them in one file and uses them in others.

#include <memory>
#include <string>
#include <vector>

#include "xml/XmlNode.h"
#include "wix/WixVariables.h"

class CWixControl;
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
  // controls, then binds the WiX variables of every file in texts, Publish
  // arguments and conditions, Condition texts, dialog titles, Binary paths
  // and Text source files (and reads those texts). Returns how many control
  // events found their control. The variables are forgotten afterwards, so
  // the sources can be read again.
  int CompleteParse();

 private:
  struct PendingBinary {
    std::wstring id;
    std::wstring source;
  };

  [[nodiscard]] int ParseDocument(const CXmlNode& root, const std::wstring& path);
  void ReadWixVariables(const CXmlNode& root);
  [[nodiscard]] bool ParseBinaries(const CXmlNode& root, IIconListForParser& icons, const std::wstring& path);
  static void AddBinary(IIconListForParser& icons, const std::wstring& id, const std::wstring& source);
  // Scrollable texts whose source file needs no WiX variable are read now.
  void LoadSourceTexts(CWixDialog& dialog, const std::wstring& path) const;
  void LoadSourceText(CWixControl& control) const;
  void BindWixVariables();
  [[nodiscard]] bool ParseDialog(const CXmlNode& element, const std::wstring& path);
  void ParseDeferredPublishes(const CXmlNode& root);
  [[nodiscard]] std::unique_ptr<CWixFeature> ParseFeature(const CXmlNode& element) const;
  void ParseFeatureRefs(const CXmlNode& root);

  ISetupConfigData& record_;
  ISetupConfigDataForParser& recordForParser_;
  IWixDataModelForParser& model_;
  const IWixRectConverter& converter_;
  std::wstring binaryPath_;
  CWixVariableTable variables_;
  std::vector<PendingBinary> pendingBinaries_;  // SourceFile with WiX variables
};
