#include "catalog/CatalogFile.h"
#include "format/ArchiveWriter.h"
#include "support/CatalogFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumidex;

namespace {

// A device that accepts `limit` bytes and then refuses to write.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (m_written + len > m_limit) {
            setErrorString(QStringLiteral("disk full"));
            return -1;
        }
        m_written += len;
        return len;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CatalogFile, AFailingDeviceIsReportedNotIgnored)
{
    const Catalog c = test::makeRichCatalog();
    FailingDevice device(5000);
    ArchiveWriter writer(device);
    EXPECT_THROW(
        {
            writeCatalogStream(writer, c);
            writer.flush();
        },
        ArchiveError);
}

TEST(CatalogFile, AFailedSaveLeavesThePreviousFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("films.sav");
    ASSERT_TRUE(saveCatalogFile(path, test::makeRichCatalog()).isEmpty());
    const QByteArray before = contents(path);

    Catalog changed = test::makeRichCatalog();
    changed.filesCategories[0].name = "Changed";
    int steps = 0;
    const QString error = saveCatalogFile(path, changed, [&] {
        if (++steps == 2)
            throw ArchiveError("simulated write failure", 0);
    });
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"films.sav"}); // no temporary left

    EXPECT_TRUE(saveCatalogFile(path, changed).isEmpty());
    const CatalogLoadResult loaded = loadCatalogFile(path);
    ASSERT_TRUE(loaded.catalog) << loaded.error.toStdString();
    EXPECT_EQ(loaded.catalog->filesCategories[0].name, "Changed");
}

TEST(CatalogFile, LoadErrorsSayWhatAndWhere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.sav");
    ASSERT_TRUE(saveCatalogFile(path, test::makeRichCatalog()).isEmpty());
    QFile::resize(path, QFile(path).size() - 8);
    const CatalogLoadResult cut = loadCatalogFile(path);
    EXPECT_FALSE(cut.catalog);
    EXPECT_TRUE(cut.error.contains("offset")) << cut.error.toStdString();

    const CatalogLoadResult missing = loadCatalogFile(dir.filePath("none.sav"));
    EXPECT_FALSE(missing.catalog);
    EXPECT_FALSE(missing.error.isEmpty());
}

} // namespace
