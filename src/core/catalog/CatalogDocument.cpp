#include "catalog/CatalogDocument.h"

#include "catalog/CatalogFile.h"
#include "catalog/DefaultCatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumidex {

namespace {

QString systemError(const QString& what, const QString& path)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

QString replaceFile(const QString& source, const QString& target, bool move)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (move && std::rename(from.constData(), to.constData()) == 0)
        return {};
    // Across file systems, or keeping the source: copy beside the target, then rename over it.
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(source, part))
        return QStringLiteral("cannot copy %1 to %2").arg(source, part);
    if (std::rename(QFile::encodeName(part).constData(), to.constData()) != 0) {
        const QString error = systemError(QStringLiteral("cannot replace"), target);
        QFile::remove(part);
        return error;
    }
    if (move)
        QFile::remove(source);
    return {};
}

CatalogDocument::CatalogDocument(QString workingContainerPath)
    : m_workingContainerPath(std::move(workingContainerPath))
{
}

QString CatalogDocument::titleOf(const QString& streamPath)
{
    return QFileInfo(streamPath).completeBaseName();
}

QString CatalogDocument::title() const
{
    return titleOf(m_path);
}

QString CatalogDocument::containerPathFor(const QString& streamPath)
{
    const QFileInfo info(streamPath);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral("_ext.zip"));
}

QString CatalogDocument::resetToNew()
{
    m_catalog = makeDefaultCatalog();
    m_path.clear();
    m_containerPath = m_workingContainerPath;
    QDir().mkpath(QFileInfo(m_workingContainerPath).absolutePath());
    CatalogContainer working(m_workingContainerPath);
    if (!working.create(m_catalog.discCounts()))
        return working.errorString();
    return {};
}

QString CatalogDocument::open(const QString& path, const CatalogReadProgress& progress)
{
    CatalogLoadResult loaded = loadCatalogFile(path, progress);
    if (!loaded.catalog)
        return loaded.error;
    m_catalog = std::move(*loaded.catalog);
    m_catalog.version = Catalog::kCurrentVersion;
    m_path = QFileInfo(path).absoluteFilePath();
    // Only the container beside the stream counts: one found elsewhere could not be edited there.
    m_containerPath = containerPathFor(m_path);
    if (m_workingContainerPath != m_containerPath)
        QFile::remove(m_workingContainerPath);
    if (!QFileInfo::exists(m_containerPath)) {
        // A catalog without its container still opens; it then shows no descriptions or covers.
        CatalogContainer(m_containerPath).create(m_catalog.discCounts());
    }
    return {};
}

QString CatalogDocument::save(const QString& path, const std::function<void()>& stepDone,
                              const std::function<QString()>& beforeCommit)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (const QString error = saveCatalogFile(absolute, m_catalog, stepDone, beforeCommit); !error.isEmpty())
        return error;
    m_path = absolute;
    return placeContainer(absolute);
}

QString CatalogDocument::placeContainer(const QString& streamPath)
{
    const QString target = containerPathFor(streamPath);
    if (QFileInfo::exists(m_workingContainerPath) && m_workingContainerPath != target) {
        if (titleOf(streamPath).isEmpty())
            return {};
        if (QString error = replaceFile(m_workingContainerPath, target, true); !error.isEmpty())
            return error;
        m_containerPath = target;
        return {};
    }
    if (QFileInfo(m_containerPath).absoluteFilePath() != target && QFileInfo::exists(m_containerPath)) {
        if (QString error = replaceFile(m_containerPath, target, false); !error.isEmpty())
            return error;
    }
    m_containerPath = target;
    return {};
}

void CatalogDocument::discardWorkingContainer()
{
    QFile::remove(m_workingContainerPath);
}

} // namespace lumidex
