#pragma once

#include "format/TextCodec.h"
#include "gui/catalog/DiscPage.h"

#include <QWidget>

#include <memory>

class QTabWidget;

namespace lumidex {

struct FilesCategory;


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
    int discCount() const;
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
    // A right click on the tab of `disc` (that tab is current now).
    void tabMenuRequested(int disc, const QPoint& globalPos);
    // Requests of the disc pages, with the disc they come from.
    void itemSelected(int disc, int32_t node);
    void itemCommentRequested(int disc, int32_t node);
    void detailsRequested(int disc, int32_t node);
    void renameRequested(int disc, int32_t node, const QString& text);
    // A disc's page was just made (its tab is shown for the first time); the receiver may fill
    // in what the page cannot know, such as the disc's cover.
    void discPageCreated(int disc, DiscPage* page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The page never closes by keyboard: Enter and Escape from its disc pages end here.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace lumidex
