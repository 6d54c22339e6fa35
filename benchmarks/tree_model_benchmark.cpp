// Measures the disc tree model behind the disc page and the opening of a large catalog.
//   tree_model_benchmark [FOLDER_FILES] [CATALOG_ITEMS]
// 1. One folder of FOLDER_FILES files (default 100,000): the time to build the folder's child list
//    (the first index asked for) and to fetch every row's index, parent, text and icon, once cold
//    and once more with the list in place.
// 2. A catalog of CATALOG_ITEMS items (default 1,000,000) in discs of 100,000: written with
//    saveCatalogFile, then the time to read it with loadCatalogFile and to ask every disc's model
//    for its top level, as the pages do when their tabs are first shown.
#include "gui/catalog/DiscTreeModel.h"

#include "GeneratedCatalog.h"
#include "catalog/CatalogFile.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace lumidex;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QIcon solidIcon(Qt::GlobalColor colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Reads every row of `folder`; returns a checksum so the work cannot be optimised away.
size_t fetchAllRows(const DiscTreeModel& model, const QModelIndex& folder)
{
    size_t sum = 0;
    const int rows = model.rowCount(folder);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model.index(row, 0, folder);
        sum += size_t(model.parent(index).row());
        sum += size_t(model.data(index, Qt::DisplayRole).toString().size());
        sum += model.data(index, Qt::DecorationRole).isValid() ? 1 : 0;
    }
    return sum;
}

void folderPhase(int files)
{
    DiscTree tree;
    tree.append(DiscTree::kNone, "autorun.inf", DiscTree::kFileImage, DiscTree::kFileImage);
    const int32_t folder = tree.append(DiscTree::kNone, "Files", DiscTree::kFolderImage, DiscTree::kFolderImage);
    for (int i = 0; i < files; ++i)
        tree.append(folder, "file_" + std::to_string(i) + ".dat", DiscTree::kFileImage, DiscTree::kFileImage);
    tree.append(DiscTree::kNone, "readme.txt", DiscTree::kFileImage, DiscTree::kFileImage);

    DiscTreeModel model(tree);
    model.setIcons(solidIcon(Qt::yellow), solidIcon(Qt::white));
    const QModelIndex folderIndex = model.index(1, 0);

    auto start = std::chrono::steady_clock::now();
    model.index(0, 0, folderIndex); // builds the folder's child list
    const double listSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    size_t sum = fetchAllRows(model, folderIndex);
    const double coldSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    sum += fetchAllRows(model, folderIndex);
    const double warmSeconds = secondsSince(start);

    std::printf("folder of %d files: child list %.4f s, all rows %.4f s (%.0f ns/row), again %.4f s [%zu]\n", files,
                listSeconds, coldSeconds, coldSeconds * 1e9 / files, warmSeconds, sum);
}

int catalogPhase(int items)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.sav"));
    {
        const Catalog catalog = bench::buildCatalog(items);
        const QString error = saveCatalogFile(path, catalog);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(error));
            return 1;
        }
    }
    auto start = std::chrono::steady_clock::now();
    const CatalogLoadResult loaded = loadCatalogFile(path);
    const double readSeconds = secondsSince(start);
    if (!loaded.catalog) {
        std::fprintf(stderr, "read failed: %s\n", qPrintable(loaded.error));
        return 1;
    }
    start = std::chrono::steady_clock::now();
    size_t sum = 0;
    for (const Disc& disc : loaded.catalog->filesCategories[0].discs) {
        const DiscTreeModel model(disc.tree);
        sum += fetchAllRows(model, {});
    }
    const double modelSeconds = secondsSince(start);
    std::printf("catalog of %d items: read %.3f s, every disc's top level %.4f s [%zu]\n", items, readSeconds,
                modelSeconds, sum);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int items = argc > 2 ? std::atoi(argv[2]) : 1000000;
    folderPhase(files);
    std::fflush(stdout);
    return catalogPhase(items);
}
