#pragma once

#include "catalog/CatalogDocument.h"
#include "catalog/CatalogEdit.h"
#include "format/TextCodec.h"
#include "scan/ScanOptions.h"

#include <functional>

class QWidget;

namespace lumidex {

class FilesCategoryPage;
class UserPrompts;

// What the disc and scan commands need of the main window, which owns all of it and outlives
// the commands.
struct WindowContext {
    QWidget* window = nullptr;
    CatalogDocument* document = nullptr;
    UserPrompts* prompts = nullptr;
    std::function<LegacyCodePage()> legacy;
    std::function<ScanOptions()> scanOptions;
    // The bar index of the category shown, and the page of a files category (null for others).
    std::function<int()> currentCategory;
    std::function<FilesCategoryPage*(int category)> filesPage;
    // Runs an edit's container change, telling the user when it fails.
    std::function<bool(const CatalogEdit&)> runContainerChange;
};

} // namespace lumidex
