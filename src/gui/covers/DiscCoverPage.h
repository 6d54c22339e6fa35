#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <functional>

class QPushButton;

namespace lumidex {

class CoverPicture;

// The Cover tab of a disc page: "Add cover" and "Remove cover" buttons and the picture below them.
// The page never touches the catalog: it reports what the user did and its owner stores or removes
// the cover in the catalog's container. Signals are emitted after the page shows the new state,
// so an owner that fails to store can show the previous cover again from its handler.
class DiscCoverPage : public QWidget {
    Q_OBJECT
public:
    explicit DiscCoverPage(QWidget* parent = nullptr);

    // What the page asks the user; the real dialogs by default. Tests replace them.
    void setFileChooser(std::function<QString(QWidget*)> chooser);
    void setFolderChooser(std::function<QString(QWidget*)> chooser);
    void setMessageHandler(std::function<void(QWidget*, const QString&)> tell);

    // Shows the disc's stored cover (the bytes of its container entry), or none when they do not
    // decode. `entryName` (e.g. "0_3.cov") names the copy when "cover.jpg" is already taken.
    void showStoredCover(const QByteArray& bytes, const QString& entryName);
    void showNoCover();
    bool hasCover() const;
    CoverPicture* picture() const;

signals:
    void coverAdded(const QString& pictureFile);
    void coverRemoved();

private:
    void addCover();
    void removeCover();
    void copyCover();
    void showFullSize();
    void forgetCover();

    QPushButton* m_addButton;
    QPushButton* m_removeButton;
    CoverPicture* m_picture;

    // The bytes shown: a stored entry's, or those read from the newly chosen file.
    QByteArray m_bytes;
    QString m_entryName;
    QString m_chosenFile;

    std::function<QString(QWidget*)> m_chooseFile;
    std::function<QString(QWidget*)> m_chooseFolder;
    std::function<void(QWidget*, const QString&)> m_tell;
};

} // namespace lumidex
