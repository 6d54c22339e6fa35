#pragma once

#include "format/TextCodec.h"

#include <QWidget>

#include <memory>

class QTabWidget;

namespace lumidex {

struct FilesCategory;
class DiscPage;

// The page of one files category: a tab per disc (the disc's name), each showing a DiscPage.
// The category belongs to the open catalog (the main window's CatalogDocument); the page only
// shows it and must be rebuilt (reload) when discs are added, removed or renamed.
//
// A disc's page is made the first time its tab is shown (or asked for through discPage), so a
// category of hundreds of discs opens at once. Disc pages refer to the category's discs, so
// reload drops them all.
class FilesCategoryPage : public QWidget {
    Q_OBJECT
public:
    FilesCategoryPage(FilesCategory& category, QWidget* parent = nullptr);
    ~FilesCategoryPage() override;

    void reload();
    int currentDisc() const; // -1 without discs
    void setCurrentDisc(int disc);
    // The disc's page, made now if its tab was never shown; null for a disc that does not exist.
    DiscPage* discPage(int disc) const;

    // The code page of text that is not UTF-8 (Windows-1251 while the interface is Russian).
    // Changing it reloads the page.
    void setLegacyCodePage(LegacyCodePage legacy);
    LegacyCodePage legacyCodePage() const;
    QTabWidget* tabWidget() const;

signals:
    void currentDiscChanged(int disc);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace lumidex
