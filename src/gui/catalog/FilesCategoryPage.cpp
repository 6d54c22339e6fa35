#include "gui/catalog/FilesCategoryPage.h"

#include "catalog/FilesCategory.h"
#include "gui/catalog/DiscPage.h"

#include <QEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace lumidex {

struct FilesCategoryPage::Private {
    explicit Private(FilesCategory& c) : category(c) {}

    FilesCategory& category;
    LegacyCodePage legacy = LegacyCodePage::Windows1252;
    QTabWidget* tabs = nullptr;
    QIcon discIcon;
    // Entry i is the page of disc i inside the holder widget of tab i; null until first shown.
    std::vector<DiscPage*> pages;
    // While the tabs are rebuilt the discs may already have changed under the old holders.
    bool reloading = false;

    FilesCategoryPage* owner = nullptr;

    DiscPage* ensurePage(int disc)
    {
        if (reloading || disc < 0 || size_t(disc) >= pages.size())
            return nullptr;
        DiscPage*& page = pages[size_t(disc)];
        if (!page) {
            QWidget* holder = tabs->widget(disc);
            page = new DiscPage(category.discs[size_t(disc)], legacy, holder);
            connectPage(page, disc);
            holder->layout()->addWidget(page);
            emit owner->discPageCreated(disc, page);
            if (holder->isVisible())
                page->show();
        }
        return page;
    }

    void connectPage(DiscPage* page, int disc)
    {
        connect(page, &DiscPage::itemSelected, owner,
                [this, disc](int32_t node) { emit owner->itemSelected(disc, node); });
        connect(page, &DiscPage::commentRequested, owner,
                [this, disc](int32_t node) { emit owner->itemCommentRequested(disc, node); });
        connect(page, &DiscPage::detailsRequested, owner,
                [this, disc](int32_t node) { emit owner->detailsRequested(disc, node); });
        connect(page, &DiscPage::renameRequested, owner, [this, disc](int32_t node, const QString& text) {
            emit owner->renameRequested(disc, node, text);
        });
    }

    // The widget of a tab; its disc page is put into it when the tab is first shown.
    static QWidget* makeHolder(QObject* showWatcher)
    {
        auto* holder = new QWidget;
        auto* layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        holder->installEventFilter(showWatcher);
        return holder;
    }
};

FilesCategoryPage::FilesCategoryPage(FilesCategory& category, QWidget* parent)
    : QWidget(parent), d(std::make_unique<Private>(category))
{
    setObjectName(QStringLiteral("filesCategoryPage"));
    d->owner = this;
    d->discIcon = style()->standardIcon(QStyle::SP_DriveCDIcon);
    d->tabs = new QTabWidget;
    d->tabs->setObjectName(QStringLiteral("discTabs"));
    d->tabs->setUsesScrollButtons(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->tabs);
    connect(d->tabs, &QTabWidget::currentChanged, this, &FilesCategoryPage::currentDiscChanged);
    QTabBar* tabBar = d->tabs->tabBar();
    tabBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabBar, &QWidget::customContextMenuRequested, this, [this, tabBar](const QPoint& pos) {
        const int disc = tabBar->tabAt(pos);
        if (disc < 0)
            return;
        setCurrentDisc(disc);
        emit tabMenuRequested(disc, tabBar->mapToGlobal(pos));
    });
    reload();
}

FilesCategoryPage::~FilesCategoryPage()
{
    // Tearing the tabs down must neither report tab changes nor make pages.
    d->reloading = true;
    disconnect(d->tabs, nullptr, this, nullptr);
}

void FilesCategoryPage::reload()
{
    const int before = currentDisc();
    QStringList names;
    for (const Disc& disc : d->category.discs)
        names.append(decodeCatalogText(disc.name, d->legacy));
    {
        const QSignalBlocker blocker(d->tabs);
        d->reloading = true;
        // Disc pages refer to discs that may have moved or changed: they are made again.
        for (DiscPage*& page : d->pages) {
            delete page;
            page = nullptr;
        }
        // The tab bar lays out all its tabs after each change, so only the tabs whose text
        // differs are touched: one disc added, removed or renamed costs one change.
        const int oldCount = d->tabs->count();
        const int newCount = int(names.size());
        const int common = std::min(oldCount, newCount);
        int prefix = 0;
        while (prefix < common && d->tabs->tabText(prefix) == names[prefix])
            ++prefix;
        int suffix = 0;
        while (suffix < common - prefix && d->tabs->tabText(oldCount - 1 - suffix) == names[newCount - 1 - suffix])
            ++suffix;
        const int oldMiddle = oldCount - prefix - suffix;
        const int newMiddle = newCount - prefix - suffix;
        for (int k = 0; k < std::min(oldMiddle, newMiddle); ++k)
            d->tabs->setTabText(prefix + k, names[prefix + k]);
        for (int k = oldMiddle - 1; k >= newMiddle; --k) {
            QWidget* holder = d->tabs->widget(prefix + k);
            d->tabs->removeTab(prefix + k);
            delete holder;
        }
        for (int k = oldMiddle; k < newMiddle; ++k)
            d->tabs->insertTab(prefix + k, d->makeHolder(this), d->discIcon, names[prefix + k]);
        d->pages.assign(size_t(newCount), nullptr);
        if (newCount > 0)
            d->tabs->setCurrentIndex(std::clamp(before, 0, newCount - 1));
        d->reloading = false;
    }
    // A holder that stayed visible gets no Show event to make its page.
    if (d->tabs->isVisible())
        d->ensurePage(currentDisc());
    if (currentDisc() != before)
        emit currentDiscChanged(currentDisc());
}

int FilesCategoryPage::discCount() const
{
    return d->tabs->count();
}

int FilesCategoryPage::currentDisc() const
{
    return d->tabs->currentIndex();
}

void FilesCategoryPage::setCurrentDisc(int disc)
{
    if (disc >= 0 && disc < d->tabs->count())
        d->tabs->setCurrentIndex(disc);
}

DiscPage* FilesCategoryPage::discPage(int disc) const
{
    return d->ensurePage(disc);
}

void FilesCategoryPage::setLegacyCodePage(LegacyCodePage legacy)
{
    if (legacy == d->legacy)
        return;
    d->legacy = legacy;
    reload();
}

LegacyCodePage FilesCategoryPage::legacyCodePage() const
{
    return d->legacy;
}

QTabWidget* FilesCategoryPage::tabWidget() const
{
    return d->tabs;
}

void FilesCategoryPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool FilesCategoryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && !d->reloading) {
        const int disc = d->tabs->indexOf(static_cast<QWidget*>(watched));
        if (disc >= 0)
            d->ensurePage(disc);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumidex
