#pragma once

#include "catalog/CatalogContainer.h"
#include "catalog/CatalogStream.h"

#include <QString>

#include <functional>

namespace lumidex {

// The open catalog and the two files behind it: the stream "<title>.sav" and the container
// "<title>_ext.zip" beside it. A catalog without a file keeps its container in the working
// container, whose path the owner chooses (the data folder's "dummy.zip" for the window, a
// private temporary file for a command-line run).
class CatalogDocument {
public:
    explicit CatalogDocument(QString workingContainerPath);

    Catalog& catalog() { return m_catalog; }
    const Catalog& catalog() const { return m_catalog; }
    bool hasFile() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }
    QString title() const;
    const QString& containerPath() const { return m_containerPath; }
    const QString& workingContainerPath() const { return m_workingContainerPath; }
    CatalogContainer container() const { return CatalogContainer(m_containerPath); }

    static QString titleOf(const QString& streamPath);
    static QString containerPathFor(const QString& streamPath);

    // The default catalog without a file, with a new working container (any old one is replaced).
    QString resetToNew();

    // Reads the stream at `path` and binds the document to it: the container beside it is used,
    // or created empty when there is none, and the working container is deleted. On a read error
    // the document stays as it was and the error (what, at which offset) is returned.
    QString open(const QString& path, const CatalogReadProgress& progress = {});

    // Writes the stream to `path` (atomically; `beforeCommit` as for saveCatalogFile), then puts
    // the container beside it: the working container moves there, or the current container is
    // copied when the catalog is saved under another name. An error leaves the previous stream
    // intact; a container that could not be placed is reported and keeps its old place.
    QString save(const QString& path, const std::function<void()>& stepDone = {},
                 const std::function<QString()>& beforeCommit = {});

    // Leaving without saving: the working container is removed.
    void discardWorkingContainer();

private:
    QString placeContainer(const QString& streamPath);

    Catalog m_catalog;
    QString m_path;
    QString m_containerPath;
    QString m_workingContainerPath;
};

// Replaces `target` by the content of `source` in one step (a rename, or a copy beside the target
// renamed over it); with `move` the source is removed afterwards. The target is never left half
// written. Returns an empty string on success.
QString replaceFile(const QString& source, const QString& target, bool move);

} // namespace lumidex
