#pragma once

#include "catalog/FileDetails.h"
#include "gui/app/WindowContext.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QMenu;
class QPoint;

namespace lumidex {

class DiscCoverPage;
class DiscPage;
struct Disc;

// The commands on a disc of a files category (the tab menu: Comments, Delete, Rename, Move to,
// Quick jump; Update is a scan and is passed on) and on its files (comments, stored details, the
// MP3 line in the information panel, the disc cover). Each changes the catalog through the core
// edits, keeps the container in step at once and refreshes the pages concerned.
class DiscCommands : public QObject {
    Q_OBJECT
public:
    explicit DiscCommands(WindowContext context, QObject* parent = nullptr);

    // The tab menu of disc `disc` of files category `category`; the caller owns it.
    QMenu* buildTabMenu(int category, int disc, QWidget* parent);
    void showTabMenu(int category, int disc, const QPoint& globalPos);

    void editDiscComment(int category, int disc);
    void deleteDisc(int category, int disc);
    void renameDisc(int category, int disc);
    void moveDisc(int category, int disc, int targetCategory);
    void quickJump(int category);

    void editItemComment(int category, int disc, int32_t node);
    void renameItem(int category, int disc, int32_t node, const QString& name);
    // A description, archive listing or MP3 window for the file, or the message why there is none.
    void showDetails(int category, int disc, int32_t node);
    // The MP3 line of a selected ".mp3" file in the information panel; nothing for other files.
    void showItemMp3(int category, int disc, int32_t node);

    // A disc page just made: its cover from the container, and its cover tab's questions and
    // changes routed through the window.
    void preparePage(int category, int disc, DiscPage* page);
    void storeCover(int category, int disc, const QString& pictureFile);
    void removeCover(int category, int disc);

signals:
    void updateRequested(int category, int disc);

private:
    Disc* disc(int category, int disc) const;
    void tell(const QString& text) const;
    // What the container holds as the disc's cover, in `cover` or the disc page's cover tab.
    void showStoredCover(int category, int disc, DiscCoverPage* cover = nullptr);

    WindowContext m_context;
    // Selecting one MP3 file after another reads the disc's entry once.
    FileDetailsCache m_details;
};

} // namespace lumidex
