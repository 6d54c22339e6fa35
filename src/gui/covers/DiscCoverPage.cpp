#include "gui/covers/DiscCoverPage.h"

#include "catalog/DiscEdits.h"
#include "gui/covers/CoverPicture.h"
#include "gui/covers/FullSizeCoverDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace lumidex {

namespace {

QString chooseCoverFile(QWidget* parent)
{
    // The native dialogs match patterns case-sensitively, so the usual spellings are all listed.
    return QFileDialog::getOpenFileName(parent, DiscCoverPage::tr("Add cover"), QString(),
                                        DiscCoverPage::tr("Image files (*.jpg *.jpeg *.JPG *.JPEG)"));
}

QString chooseFolder(QWidget* parent)
{
    // getExistingDirectory only returns local folders.
    return QFileDialog::getExistingDirectory(parent, DiscCoverPage::tr("Copy cover file to hard drive"));
}

void warn(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QStringLiteral("Lumidex"), text);
}

// A container entry name as a plain file name: never a path that leaves the chosen folder.
QString safeFileName(const QString& entryName)
{
    const QString name = QFileInfo(entryName).fileName();
    return name == QLatin1String(".") || name == QLatin1String("..") ? QString() : name;
}

} // namespace

DiscCoverPage::DiscCoverPage(QWidget* parent)
    : QWidget(parent), m_chooseFile(chooseCoverFile), m_chooseFolder(chooseFolder), m_tell(warn)
{
    setObjectName(QStringLiteral("discCoverPage"));
    m_addButton = new QPushButton(tr("Add cover"));
    m_addButton->setObjectName(QStringLiteral("addCoverButton"));
    m_removeButton = new QPushButton(tr("Remove cover"));
    m_removeButton->setObjectName(QStringLiteral("removeCoverButton"));
    m_picture = new CoverPicture;
    m_picture->setObjectName(QStringLiteral("coverPicture"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_picture, 1);

    connect(m_addButton, &QPushButton::clicked, this, &DiscCoverPage::addCover);
    connect(m_removeButton, &QPushButton::clicked, this, &DiscCoverPage::removeCover);
    connect(m_picture, &CoverPicture::copyRequested, this, &DiscCoverPage::copyCover);
    connect(m_picture, &CoverPicture::fullSizeRequested, this, &DiscCoverPage::showFullSize);
    showNoCover();
}

void DiscCoverPage::setFileChooser(std::function<QString(QWidget*)> chooser)
{
    m_chooseFile = std::move(chooser);
}

void DiscCoverPage::setFolderChooser(std::function<QString(QWidget*)> chooser)
{
    m_chooseFolder = std::move(chooser);
}

void DiscCoverPage::setMessageHandler(std::function<void(QWidget*, const QString&)> tell)
{
    m_tell = std::move(tell);
}

void DiscCoverPage::showStoredCover(const QByteArray& bytes, const QString& entryName)
{
    forgetCover();
    if (m_picture->setPictureData(bytes)) {
        m_bytes = bytes;
        m_entryName = entryName;
    }
    m_removeButton->setEnabled(hasCover());
}

void DiscCoverPage::showNoCover()
{
    forgetCover();
    m_removeButton->setEnabled(false);
}

bool DiscCoverPage::hasCover() const
{
    return m_picture->hasPicture();
}

CoverPicture* DiscCoverPage::picture() const
{
    return m_picture;
}

void DiscCoverPage::forgetCover()
{
    m_picture->clear();
    m_bytes.clear();
    m_entryName.clear();
    m_chosenFile.clear();
}

void DiscCoverPage::addCover()
{
    const QString path = m_chooseFile(this);
    if (path.isEmpty())
        return;
    if (const QString error = checkCoverFile(path); !error.isEmpty()) {
        m_tell(this, error);
        return;
    }
    // The bytes shown are the bytes a later copy writes, whatever happens to the file meanwhile.
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(kMaxCoverBytes + 1) : QByteArray();
    const QImage image = bytes.size() <= kMaxCoverBytes ? QImage::fromData(bytes) : QImage();
    if (image.isNull()) {
        // It passed the check a moment ago: the file changed in between.
        m_tell(this, tr("The picture %1 cannot be read").arg(QDir::toNativeSeparators(path)));
        return;
    }
    forgetCover();
    m_picture->setPicture(image);
    m_bytes = bytes;
    m_chosenFile = path;
    m_removeButton->setEnabled(true);
    emit coverAdded(path);
}

void DiscCoverPage::removeCover()
{
    if (!hasCover())
        return;
    showNoCover();
    emit coverRemoved();
}

void DiscCoverPage::copyCover()
{
    if (!hasCover())
        return;
    const QString folder = m_chooseFolder(this);
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    QString name;
    if (!m_chosenFile.isEmpty()) {
        name = QFileInfo(m_chosenFile).fileName();
    } else {
        // A "cover.jpg" already there (perhaps another disc's) is kept; the entry name is unique.
        name = QStringLiteral("cover.jpg");
        if (QFileInfo::exists(dir.filePath(name)))
            name = safeFileName(m_entryName);
    }
    // Writing the bytes rather than copying the file keeps a copy onto the chosen file itself harmless.
    QSaveFile file(dir.filePath(name));
    if (name.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(m_bytes) != m_bytes.size() || !file.commit())
        m_tell(this, tr("The cover cannot be copied to %1").arg(QDir::toNativeSeparators(folder)));
}

void DiscCoverPage::showFullSize()
{
    if (!hasCover())
        return;
    FullSizeCoverDialog dialog(m_picture->picture(), this);
    dialog.exec();
}

} // namespace lumidex
