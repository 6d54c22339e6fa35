#include "gui/settings/OptionsSheet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace lumidex {

namespace {

constexpr int kMaxLevels = 32;
constexpr int kMaxFilesPerFolder = 2000;
constexpr int kMaxDescriptionSize = 1000000;

QSpinBox* makeSpin(const char* objectName, int minimum, int maximum, int value, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(objectName));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

// A group caption with its picture on the left of the group's controls.
QHBoxLayout* withPicture(QStyle::StandardPixmap picture, QWidget* owner)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(owner);
    label->setPixmap(owner->style()->standardIcon(picture).pixmap(32, 32));
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    row->addWidget(label);
    return row;
}

} // namespace

struct OptionsSheet::Private {
    ScanOptions initial;

    // "General"
    QSpinBox* levelSpin = nullptr;
    QSpinBox* filesSpin = nullptr;
    QCheckBox* scanAllFolders = nullptr;
    QCheckBox* scanAllFiles = nullptr;
    QCheckBox* useLabel = nullptr;
    QCheckBox* eject = nullptr;
    QCheckBox* openLast = nullptr;

    // "File types": every check box with the field it stands for.
    std::vector<std::pair<QCheckBox*, ScanOptions::Field>> fileTypes;
    QCheckBox* anySize = nullptr;
    QSpinBox* maxSize = nullptr;
};

OptionsSheet::OptionsSheet(const ScanOptions& options, QWidget* parent)
    : QDialog(parent)
    , d(new Private)
{
    d->initial = options;
    setWindowTitle(tr("Setup"));

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("pages"));

    // General
    auto* general = new QWidget(tabs);
    general->setObjectName(QStringLiteral("generalPage"));
    d->levelSpin = makeSpin("levelSpin", 0, kMaxLevels, options[ScanOptions::Levels], general);
    d->filesSpin = makeSpin("filesSpin", 0, kMaxFilesPerFolder, options[ScanOptions::FilesPerFolder], general);
    auto check = [](const char* objectName, const QString& text, bool on, QWidget* parent) {
        auto* box = new QCheckBox(text, parent);
        box->setObjectName(QLatin1String(objectName));
        box->setChecked(on);
        return box;
    };
    d->scanAllFolders = check("scanAllFolders", tr("Scan all folders"), options.isOn(ScanOptions::AllFolders), general);
    d->scanAllFiles = check("scanAllFiles", tr("Scan all files"), options.isOn(ScanOptions::AllFiles), general);
    d->useLabel = check("useLabel", tr("Use CD label as name"), options.isOn(ScanOptions::UseLabel), general);
    d->eject = check("eject", tr("Eject CD after each scan"), options.isOn(ScanOptions::Eject), general);
    d->openLast = check("openLast", tr("Open last saved catalog at next start"), options.isOn(ScanOptions::OpenLast),
                        general);

    auto* limits = new QGridLayout;
    auto* levelLabel = new QLabel(tr("Level of folders"), general);
    levelLabel->setBuddy(d->levelSpin);
    auto* filesLabel = new QLabel(tr("Files in directory"), general);
    filesLabel->setBuddy(d->filesSpin);
    limits->addWidget(levelLabel, 0, 0);
    limits->addWidget(d->levelSpin, 0, 1);
    limits->addWidget(d->scanAllFolders, 0, 2);
    limits->addWidget(filesLabel, 1, 0);
    limits->addWidget(d->filesSpin, 1, 1);
    limits->addWidget(d->scanAllFiles, 1, 2);
    limits->setColumnStretch(3, 1);

    auto* generalLayout = new QVBoxLayout(general);
    generalLayout->addLayout(limits);
    generalLayout->addSpacing(8);
    generalLayout->addWidget(d->useLabel);
    generalLayout->addWidget(d->eject);
    generalLayout->addWidget(d->openLast);
    generalLayout->addStretch(1);

    // File types
    auto* files = new QWidget(tabs);
    files->setObjectName(QStringLiteral("fileTypesPage"));
    auto fileType = [&](const char* objectName, const QString& text, ScanOptions::Field field, QWidget* parent) {
        QCheckBox* box = check(objectName, text, options.isOn(field), parent);
        d->fileTypes.emplace_back(box, field);
        return box;
    };

    auto* archives = new QGroupBox(tr("Archives"), files);
    archives->setObjectName(QStringLiteral("archivesGroup"));
    auto* archiveRow = withPicture(QStyle::SP_DirIcon, this);
    auto* archiveGrid = new QGridLayout;
    archiveGrid->addWidget(fileType("zip", tr("*.zip"), ScanOptions::Zip, archives), 0, 0);
    archiveGrid->addWidget(fileType("rar", tr("*.rar"), ScanOptions::Rar, archives), 0, 1);
    archiveGrid->addWidget(fileType("arj", tr("*.arj"), ScanOptions::Arj, archives), 0, 2);
    archiveGrid->addWidget(fileType("cab", tr("*.cab"), ScanOptions::Cab, archives), 1, 0);
    archiveGrid->addWidget(fileType("lha", tr("*.lha"), ScanOptions::Lha, archives), 1, 1);
    archiveGrid->addWidget(fileType("lzh", tr("*.lzh"), ScanOptions::Lzh, archives), 1, 2);
    archiveRow->addLayout(archiveGrid, 1);
    archives->setLayout(archiveRow);

    auto* texts = new QGroupBox(tr("Text files"), files);
    texts->setObjectName(QStringLiteral("textFilesGroup"));
    auto* textRow = withPicture(QStyle::SP_FileIcon, this);
    auto* textGrid = new QGridLayout;
    textGrid->addWidget(fileType("txt", tr("*.txt"), ScanOptions::Txt, texts), 0, 0);
    textGrid->addWidget(fileType("nfo", tr("*.nfo"), ScanOptions::Nfo, texts), 0, 1);
    textGrid->addWidget(fileType("diz", tr("*.diz"), ScanOptions::Diz, texts), 0, 2);
    textGrid->addWidget(fileType("bang", tr("*.!!!"), ScanOptions::Bang, texts), 1, 0);
    textGrid->addWidget(fileType("me", tr("*.me"), ScanOptions::Me, texts), 1, 1);
    textGrid->addWidget(fileType("lst", tr("*.lst"), ScanOptions::Lst, texts), 1, 2);
    // A stored maximum above what the sheet accepts shows (and is confirmed) as the sheet's maximum.
    d->maxSize = makeSpin("maxSize", 1, kMaxDescriptionSize, options[ScanOptions::MaxSize], texts);
    d->anySize = check("anySize", tr("Allow any size"), options.isOn(ScanOptions::AnySize), texts);
    auto* sizeLabel = new QLabel(tr("Max. size of file"), texts);
    sizeLabel->setBuddy(d->maxSize);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(d->maxSize);
    sizeRow->addWidget(new QLabel(tr("Bytes"), texts));
    sizeRow->addStretch(1);
    textGrid->addLayout(sizeRow, 2, 0, 1, 3);
    textGrid->addWidget(d->anySize, 3, 0, 1, 3);
    textRow->addLayout(textGrid, 1);
    texts->setLayout(textRow);

    auto* audio = new QGroupBox(tr("Audio"), files);
    audio->setObjectName(QStringLiteral("audioGroup"));
    auto* audioRow = withPicture(QStyle::SP_MediaVolume, this);
    audioRow->addWidget(fileType("mp3", tr("*.mp3"), ScanOptions::Mp3, audio), 1);
    audio->setLayout(audioRow);

    auto* filesLayout = new QVBoxLayout(files);
    filesLayout->addWidget(archives);
    filesLayout->addWidget(texts);
    filesLayout->addWidget(audio);
    filesLayout->addStretch(1);

    tabs->addTab(general, style()->standardIcon(QStyle::SP_DriveCDIcon), tr("General"));
    tabs->addTab(files, style()->standardIcon(QStyle::SP_FileIcon), tr("File types"));

    // A field that the check box beside it makes irrelevant is disabled while the box is checked.
    auto disabledWhileChecked = [](QCheckBox* box, QWidget* field) {
        field->setEnabled(!box->isChecked());
        QObject::connect(box, &QCheckBox::toggled, field, [field](bool on) { field->setEnabled(!on); });
    };
    disabledWhileChecked(d->scanAllFolders, d->levelSpin);
    disabledWhileChecked(d->scanAllFiles, d->filesSpin);
    disabledWhileChecked(d->anySize, d->maxSize);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

OptionsSheet::~OptionsSheet()
{
    delete d;
}

ScanOptions OptionsSheet::options() const
{
    ScanOptions result = d->initial;
    result[ScanOptions::AllFolders] = d->scanAllFolders->isChecked() ? 1 : 0;
    result[ScanOptions::AllFiles] = d->scanAllFiles->isChecked() ? 1 : 0;
    result[ScanOptions::Levels] = d->levelSpin->value();
    result[ScanOptions::FilesPerFolder] = d->filesSpin->value();
    result[ScanOptions::UseLabel] = d->useLabel->isChecked() ? 1 : 0;
    result[ScanOptions::Eject] = d->eject->isChecked() ? 1 : 0;
    result[ScanOptions::OpenLast] = d->openLast->isChecked() ? 1 : 0;
    for (const auto& [box, field] : d->fileTypes)
        result[field] = box->isChecked() ? 1 : 0;
    result[ScanOptions::AnySize] = d->anySize->isChecked() ? 1 : 0;
    result[ScanOptions::MaxSize] = d->maxSize->value();
    applyConfirmRules(result);
    return result;
}

} // namespace lumidex
