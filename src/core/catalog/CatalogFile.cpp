#include "catalog/CatalogFile.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"

#include <QFile>
#include <QSaveFile>

namespace lumidex {

CatalogLoadResult loadCatalogFile(const QString& path, const CatalogReadProgress& progress)
{
    CatalogLoadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return result;
    }
    try {
        ArchiveReader reader(file);
        result.catalog = readCatalogStream(reader, progress);
    } catch (const ArchiveError& e) {
        result.error = QString::fromStdString(e.what());
    } catch (const std::bad_alloc&) {
        result.error = QStringLiteral("out of memory while reading %1").arg(path);
    }
    return result;
}

QString saveCatalogFile(const QString& path, const Catalog& catalog, const std::function<void()>& stepDone,
                        const std::function<QString()>& beforeCommit)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    try {
        ArchiveWriter writer(file);
        writeCatalogStream(writer, catalog, stepDone);
        writer.flush();
    } catch (const ArchiveError& e) {
        file.cancelWriting();
        return QString::fromStdString(e.what());
    }
    if (!file.flush())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (beforeCommit) {
        const QString error = beforeCommit();
        if (!error.isEmpty()) {
            file.cancelWriting();
            return error;
        }
    }
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace lumidex
