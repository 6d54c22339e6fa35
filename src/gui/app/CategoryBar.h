#pragma once

#include <QImage>
#include <QList>
#include <QListWidget>

class QMenu;

namespace lumidex {

// The column of categories on the left of the main window: one entry per category of the open
// catalog, a large icon with the name below it, in bar order (the media category last). The bar
// only shows what the main window gives it; the window owns the catalog and carries out the
// commands of the bar's context menu.
//
// Categories are chosen with the left mouse button only: the keys that would move the selection
// are swallowed, and a right click does not select.
class CategoryBar : public QListWidget {
    Q_OBJECT
public:
    struct Entry {
        QString name;
        QImage icon;
        bool media = false;
    };

    explicit CategoryBar(QWidget* parent = nullptr);

    void setEntries(const QList<Entry>& entries);
    void setEntry(int index, const Entry& entry);
    QString entryName(int index) const;
    bool isMediaEntry(int index) const;
    void setCurrentEntry(int index);

    // Background: a vertical gradient from grey to the button face, else the plain shadow colour.
    void setGradient(bool on);
    bool gradient() const { return m_gradient; }

    // The context menu for a right click over entry `pointed` (-1 for empty space), parented to
    // `parent`. Its actions emit the request signals below.
    QMenu* createContextMenu(int pointed, QWidget* parent);

signals:
    void categoryChosen(int index);
    void insertRequested();
    void deleteRequested(int index);
    void renameRequested(int index);
    void changeIconRequested(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyBackground();

    bool m_gradient = true;
};

} // namespace lumidex
