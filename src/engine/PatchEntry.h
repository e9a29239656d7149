#pragma once
// The Add/Remove Programs key of an applied patch's child entry under the
// bundle: the patch's own code, read from its package, so that the child
// never lands in Windows Installer's entry of the product it patches.

#include <string>

class IProductAttributes;
class ISetupConfigData;

// The key for the patch product's child entry: the patch code from the
// package's summary information, else (a package without one) the product's
// name. Empty (ERROR line) when the key would be an installed product's code:
// that key is Windows Installer's own entry and must not be written over.
[[nodiscard]] std::wstring PatchEntryKey(const ISetupConfigData& record, IProductAttributes& patch);
