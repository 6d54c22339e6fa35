#include "gui/app/CategoryWizard.h"

#include "catalog/CategoryIcons.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWizardPage>

namespace lumidex {

namespace {

// What the category bar can show under an icon; the rename dialog holds names to the same length.
constexpr int kCategoryNameLength = 24;
constexpr int kIconSide = 32;
constexpr int kImageRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

QString wizardText(const char* text)
{
    return CWizardCategory::tr(text);
}

// The icon list with the file path and the "..." button: the three built-in icons, then the icons
// of the image files chosen so far.
class IconPicker : public QWidget {
public:
    explicit IconPicker(QWidget* parent)
        : QWidget(parent)
    {
        auto* prompt = new QLabel(wizardText("Select the category icon :"), this);

        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("iconList"));
        m_list->setViewMode(QListView::IconMode);
        m_list->setMovement(QListView::Static);
        m_list->setResizeMode(QListView::Adjust);
        m_list->setIconSize(QSize(kIconSide, kIconSide));
        m_list->setGridSize(QSize(kIconSide + 16, kIconSide + 16));
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        prompt->setBuddy(m_list);

        for (BuiltInIcon which : {BuiltInIcon::Software, BuiltInIcon::Music, BuiltInIcon::Media})
            addItem(builtInCategoryIcon(which), QString());

        m_path = new QLineEdit(this);
        m_path->setObjectName(QStringLiteral("iconPath"));
        m_path->setReadOnly(true);

        auto* browse = new QPushButton(wizardText("..."), this);
        browse->setObjectName(QStringLiteral("browseButton"));
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, [this] { browseForFile(); });

        auto* pathRow = new QHBoxLayout;
        pathRow->addWidget(m_path, 1);
        pathRow->addWidget(browse);

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(prompt);
        layout->addWidget(m_list, 1);
        layout->addLayout(pathRow);
    }

    QListWidget* list() const { return m_list; }

    QImage selectedIcon() const
    {
        const QList<QListWidgetItem*> selected = m_list->selectedItems();
        return selected.isEmpty() ? QImage() : selected.first()->data(kImageRole).value<QImage>();
    }

    bool addIconFile(const QString& path)
    {
        const QImage image = categoryIconFromFile(path);
        if (image.isNull()) {
            QMessageBox::warning(this, QString(), wizardText("There are no icons available for the file specified."));
            return false;
        }
        const QString absolute = QFileInfo(path).absoluteFilePath();
        m_path->setText(QDir::toNativeSeparators(absolute));
        // A file chosen again takes the place of its earlier entry (it may have changed since).
        QListWidgetItem* item = nullptr;
        for (int i = 0; i < m_list->count() && !item; ++i)
            if (m_list->item(i)->data(kPathRole).toString() == absolute)
                item = m_list->item(i);
        if (item) {
            item->setData(kImageRole, image);
            item->setIcon(QIcon(QPixmap::fromImage(image)));
        } else {
            item = addItem(image, absolute);
        }
        m_list->setCurrentItem(item);
        m_list->scrollToItem(item);
        return true;
    }

private:
    QListWidgetItem* addItem(const QImage& image, const QString& path)
    {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(image)), QString(), m_list);
        item->setData(kImageRole, image);
        item->setData(kPathRole, path);
        if (!path.isEmpty())
            item->setToolTip(QDir::toNativeSeparators(path));
        return item;
    }

    void browseForFile()
    {
        const QString current = m_path->text();
        const QString folder = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
        const QString filter = wizardText("Icon files (*.png *.ico *.svg *.jpg *.jpeg *.bmp)") + QStringLiteral(";;")
            + wizardText("All files (*)");
        const QString path = QFileDialog::getOpenFileName(this, wizardText("Open File"), folder, filter);
        if (!path.isEmpty())
            addIconFile(path);
    }

    QListWidget* m_list = nullptr;
    QLineEdit* m_path = nullptr;
};

class NamePage : public QWizardPage {
public:
    NamePage(bool mediaCategoryExists, QWidget* parent)
        : QWizardPage(parent)
    {
        auto* nameLabel = new QLabel(wizardText("Category name :"), this);
        m_name = new QLineEdit(this);
        m_name->setObjectName(QStringLiteral("nameEdit"));
        m_name->setMaxLength(kCategoryNameLength);
        nameLabel->setBuddy(m_name);

        auto* kindGroup = new QGroupBox(wizardText("Category typ"), this);
        m_files = new QRadioButton(wizardText("CD collection (software, mp3's...)"), kindGroup);
        m_files->setObjectName(QStringLiteral("filesKind"));
        m_files->setChecked(true);
        m_media = new QRadioButton(wizardText("Books, videos, games, multimedia etc."), kindGroup);
        m_media->setObjectName(QStringLiteral("mediaKind"));
        m_media->setEnabled(!mediaCategoryExists);
        auto* note =
            new QLabel(wizardText("category, contains books,videos,games etc.  can present in your catalog only one time"),
                       kindGroup);
        note->setWordWrap(true);
        auto* kindLayout = new QVBoxLayout(kindGroup);
        kindLayout->addWidget(m_files);
        kindLayout->addWidget(m_media);
        kindLayout->addWidget(note);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(nameLabel);
        layout->addWidget(m_name);
        layout->addSpacing(8);
        layout->addWidget(kindGroup);
        layout->addStretch(1);
    }

    QString name() const { return m_name->text().trimmed(); }
    CategoryKind kind() const { return m_media->isChecked() ? CategoryKind::Media : CategoryKind::Files; }

    bool validatePage() override
    {
        if (!name().isEmpty())
            return true;
        QMessageBox::warning(this, wizardText("Error"), wizardText("Enter the valid name "));
        m_name->setFocus();
        m_name->selectAll();
        return false;
    }

private:
    QLineEdit* m_name = nullptr;
    QRadioButton* m_files = nullptr;
    QRadioButton* m_media = nullptr;
};

class IconPage : public QWizardPage {
public:
    explicit IconPage(QWidget* parent)
        : QWizardPage(parent)
        , m_picker(new IconPicker(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_picker);
    }

    IconPicker* picker() const { return m_picker; }

    bool validatePage() override
    {
        if (!m_picker->selectedIcon().isNull())
            return true;
        QMessageBox::warning(this, QStringLiteral(" "), wizardText("Please select an icon"));
        return false;
    }

private:
    IconPicker* m_picker;
};

} // namespace

// ---------------------------------------------------------------------------------------------

struct CWizardCategory::Private {
    NamePage* namePage = nullptr;
    IconPage* iconPage = nullptr;
};

CWizardCategory::CWizardCategory(bool mediaCategoryExists, QWidget* parent)
    : QWizard(parent)
    , d(new Private)
{
    setOption(QWizard::NoBackButtonOnStartPage, true);
    d->namePage = new NamePage(mediaCategoryExists, this);
    d->iconPage = new IconPage(this);
    addPage(d->namePage);
    addPage(d->iconPage);

    // The caption names the step, as the pages have no header of their own.
    auto showStep = [this](int id) {
        setWindowTitle(id == 1 ? tr("Step 2 of 2") : tr("Step 1 of 2"));
    };
    showStep(0);
    connect(this, &QWizard::currentIdChanged, this, showStep);

    // Double-clicking an icon chooses it and finishes.
    connect(d->iconPage->picker()->list(), &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        item->listWidget()->setCurrentItem(item);
        if (QAbstractButton* finish = button(QWizard::FinishButton))
            finish->click();
    });
}

CWizardCategory::~CWizardCategory()
{
    delete d;
}

QString CWizardCategory::categoryName() const
{
    return d->namePage->name();
}

CategoryKind CWizardCategory::kind() const
{
    return d->namePage->kind();
}

QImage CWizardCategory::icon() const
{
    return d->iconPage->picker()->selectedIcon();
}

bool CWizardCategory::addIconFile(const QString& path)
{
    return d->iconPage->picker()->addIconFile(path);
}

void CWizardCategory::done(int result)
{
    if (result == QDialog::Accepted && currentPage() != d->iconPage)
        return;
    QWizard::done(result); // validates the icon page first
}

// ---------------------------------------------------------------------------------------------

struct CAddIconSheet::Private {
    IconPicker* picker = nullptr;
};

CAddIconSheet::CAddIconSheet(QWidget* parent)
    : QDialog(parent)
    , d(new Private)
{
    setWindowTitle(tr("Change Icon"));
    d->picker = new IconPicker(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(d->picker->list(), &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(d->picker, 1);
    layout->addWidget(buttons);
}

CAddIconSheet::~CAddIconSheet()
{
    delete d;
}

QImage CAddIconSheet::icon() const
{
    return d->picker->selectedIcon();
}

bool CAddIconSheet::addIconFile(const QString& path)
{
    return d->picker->addIconFile(path);
}

// ---------------------------------------------------------------------------------------------

struct CRenameDialog::Private {
    QLineEdit* name = nullptr;
    QPushButton* ok = nullptr;
};

CRenameDialog::CRenameDialog(const QString& caption, const QString& prompt, const QString& name, QWidget* parent)
    : QDialog(parent)
    , d(new Private)
{
    setWindowTitle(caption.isEmpty() ? tr("Rename") : caption);

    auto* promptLabel = new QLabel(prompt.isEmpty() ? tr("Enter new Category Name") : prompt, this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    d->name = new QLineEdit(this);
    d->name->setObjectName(QStringLiteral("nameEdit"));
    d->name->setMaxLength(kCategoryNameLength);
    d->name->setText(name);
    d->name->selectAll();
    promptLabel->setBuddy(d->name);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    d->ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRenameDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto updateOk = [this] { d->ok->setEnabled(!this->name().isEmpty()); };
    updateOk();
    connect(d->name, &QLineEdit::textChanged, this, updateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(d->name);
    layout->addWidget(buttons);
    setMinimumWidth(280);
}

CRenameDialog::~CRenameDialog()
{
    delete d;
}

QString CRenameDialog::name() const
{
    return d->name->text().trimmed();
}

void CRenameDialog::accept()
{
    if (name().isEmpty()) {
        d->name->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace lumidex
