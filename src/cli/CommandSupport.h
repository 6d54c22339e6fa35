#pragma once

#include "catalog/CatalogDocument.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace lumidex::cli {

void printError(const QString& error);
// A non-negative decimal index, or nullopt.
std::optional<int> parseIndex(const QString& text);

// The catalog one command run works on. Its working container lives in a private scratch folder,
// so a run never touches the working container of a window that may be open.
class CommandCatalog {
public:
    CommandCatalog();

    // ExitOk, or the status of a catalog that cannot be read (already reported).
    int open(const QString& path);
    CatalogDocument& document() { return m_document; }
    Catalog& catalog() { return m_document.catalog(); }
    // A file in the scratch folder, removed with this object.
    QString scratchFile(const QString& name) const { return m_scratch.filePath(name); }

    // Writes the catalog back to the file it came from. `containerChange` runs after the new
    // stream is written and before it replaces the old one, so both change or neither does.
    // Errors are reported; returns the exit status.
    int save(const std::function<bool(CatalogContainer&)>& containerChange = {});

private:
    QTemporaryDir m_scratch;
    CatalogDocument m_document;
    QString m_path;
};

} // namespace lumidex::cli
