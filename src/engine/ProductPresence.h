#pragma once
// What Windows Installer knows about one product of the bundle before it
// runs: an interrupted run leaves some products installed and others not,
// and the run that completes it must tell them apart.

#include <string>

class IProductAttributes;

enum class ProductPresence {
  kUnknown,    // not an MSI product, no product code in its uninstall command, or no answer
  kInstalled,  // Windows Installer knows the product code as installed
  kAbsent,     // Windows Installer does not know the product code
};

// Asks Windows Installer about the product code in braces of the product's
// uninstall command. Only MSI products are asked: an EXE product leaves no
// trace the setup could read.
[[nodiscard]] ProductPresence GetProductPresence(const IProductAttributes& product);

// The product code GetProductPresence asks about; empty when there is none.
[[nodiscard]] std::wstring GetPresenceProductCode(const IProductAttributes& product);
