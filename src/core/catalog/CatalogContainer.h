#pragma once

#include "catalog/FileObject.h"
#include "format/IniFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace lumidex {

class ZipArchive;

// The catalog container: the ZIP file beside a catalog stream ("<title>_ext.zip", or the working
// container "dummy.zip" of a catalog without a file). It holds the index "data.ini", one
// description entry "<category>_<disc>.obj" per disc, disc covers "<category>_<disc>.cov" and
// media item covers "_<tab>_<row>.cov".
//
// Every operation opens the file, works and closes it; nothing stays open between calls. An
// operation that fails changes nothing: the file keeps its previous content (libzip writes a
// temporary file and renames it over the archive only on a successful close). Failures return
// false and leave a reason in errorString().
class CatalogContainer {
public:
    explicit CatalogContainer(QString path);

    const QString& path() const { return m_path; }
    bool exists() const;
    QString errorString() const { return m_error; }

    static std::string descriptionEntryName(int category, int disc); // "i_j.obj"
    static std::string discCoverEntryName(int category, int disc);   // "i_j.cov"

    // A new container (replacing any file at the path) whose index has one section
    // "Category<i>" with "Disk_Count" = discCounts[i] per files category.
    bool create(const std::vector<int>& discCounts);

    // Disc operations; the index and the entry names are renumbered as discs come and go.
    // addDisc stores `entryFile` as "i_j.obj" (j = disc) and deletes the file on success.
    bool addDisc(int category, int disc, const QString& entryFile);
    // The disc scanned again: its description entry is replaced by `entryFile` (deleted on
    // success) and "Disk_<disc>" names it again; the disc count stays.
    bool updateDisc(int category, int disc, const QString& entryFile);
    bool deleteDisc(int category, int disc);
    bool moveDisc(int sourceCategory, int disc, int targetCategory);
    bool insertCategory(int index);
    bool deleteCategory(int index);

    // Disc covers, named through the index; a disc without an index entry has no cover.
    bool storeDiscCover(int category, int disc, const QString& pictureFile);
    bool removeDiscCover(int category, int disc);
    std::optional<QByteArray> loadDiscCover(int category, int disc);

    // Media item covers, by entry name.
    bool storeCover(const QString& sourceFile, const std::string& entryName);
    bool removeCover(const std::string& entryName);
    // Removes every present cover of the list in one pass; names that are no cover names are
    // skipped. Fails only when the container cannot be changed.
    bool removeCovers(const std::vector<std::string>& entryNames);
    bool copyCover(const std::string& oldName, const std::string& newName);
    bool moveCover(const std::string& oldName, const std::string& newName);

    std::optional<IniFile> readIndex();
    // The disc's info records in stored order; nullopt when the entry is missing or unreadable.
    std::optional<std::vector<CFileObject>> readDescriptionEntry(int category, int disc);
    std::optional<std::vector<CFileObject>> readDescriptionEntry(const std::string& entryName);
    // Replaces the entry's records (a correction of a stored record); the entry must exist.
    bool writeDescriptionEntry(const std::string& entryName, const std::vector<CFileObject>& records);

    // Plain access, for inspection and tests.
    QStringList entryNames();
    std::optional<QByteArray> readEntry(const std::string& name);

private:
    bool fail(QString message);
    bool openForEdit(ZipArchive& zip);
    bool openForReading(ZipArchive& zip);
    // The index as stored; a missing one is empty unless `required`. nullopt (with the reason in
    // m_error) when it is required and missing, or present but unreadable.
    std::optional<IniFile> loadIndex(ZipArchive& zip, bool required);
    bool storeIndex(ZipArchive& zip, IniFile& index);
    bool commit(ZipArchive& zip);
    std::optional<std::string> coverNameFromIndex(const IniFile& index, int category, int disc);
    // Puts `entryFile` in as "<category>_<disc>.obj" and names it in the index: under the next
    // key with the count raised for a disc just added, under its own key for a disc scanned again.
    bool storeDescriptionEntry(int category, int disc, const QString& entryFile, bool added);
    bool renumberLaterDiscs(ZipArchive& zip, IniFile& index, int category, int removedDisc, int oldCount);
    bool checkCoverName(const std::string& name);

    QString m_path;
    QString m_error;
};

} // namespace lumidex
