#include "gui/scan/ScanJob.h"

#include "gui/widgets/ProgressDialog.h"
#include "scan/DiscScanner.h"
#include "scan/Drives.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <mutex>

namespace lumidex {

namespace {

// The progress window follows the walk at this pace; the walk itself never waits for it.
constexpr int kProgressIntervalMs = 50;

} // namespace

// What the worker and this thread both touch.
struct ScanJob::Shared {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    DiscScanner::Progress progress; // guarded by mutex
    bool fresh = false;             // guarded by mutex
};

ScanJob::ScanJob(const ScanOptions& options, const QString& root, Disc disc, const QString& entryFile,
                 const DriveAccess& drives, QWidget* progressParent)
    : m_options(options)
    , m_root(root)
    , m_disc(std::move(disc))
    , m_entryFile(entryFile)
    , m_drives(drives)
    , m_shared(std::make_shared<Shared>())
{
    m_progress = new ProgressDialog(progressParent);
    m_progress->setObjectName(QStringLiteral("scanProgress"));
    m_progress->setWindowTitle(tr("Reading info...."));
    m_progress->setText(tr("Reading info...."));
    m_progress->setCancellable(true);
    connect(m_progress, &ProgressDialog::cancelRequested, this, &ScanJob::cancel);
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &ScanJob::showProgress);
}

ScanJob::~ScanJob()
{
    if (m_thread) {
        m_shared->cancel = true;
        m_thread->wait();
        delete m_thread;
    }
    delete m_progress;
}

void ScanJob::start()
{
    if (m_thread)
        return;
    m_progress->setRange(0);
    m_progress->show();
    // The root as the file system knows it, without a trailing slash (the root "/" stays).
    std::string root = QFile::encodeName(QDir::cleanPath(QFileInfo(m_root).absoluteFilePath())).toStdString();
    m_thread = QThread::create([this, root, shared = m_shared] {
        DiscScanner scanner(m_options);
        scanner.setCancelFlag(&shared->cancel);
        scanner.setProgressHandler([&shared](const DiscScanner::Progress& p) {
            const std::lock_guard lock(shared->mutex);
            shared->progress = p;
            shared->fresh = true;
        });
        scanner.setCdCapacityLookup([this](const std::string& path) -> std::optional<int64_t> {
            const auto capacity = discCapacityForPath(m_drives, QFile::decodeName(path.c_str()));
            return capacity ? std::optional<int64_t>(*capacity) : std::nullopt;
        });
        m_completed = scanner.scan(root, m_disc, m_entryFile) && !shared->cancel;
        m_filesRecorded = scanner.filesRecorded();
    });
    m_thread->setObjectName(QStringLiteral("discScanner"));
    connect(m_thread, &QThread::finished, this, &ScanJob::end);
    m_progressTimer.start();
    m_thread->start();
}

void ScanJob::cancel()
{
    m_shared->cancel = true;
    if (m_progress)
        m_progress->setText(tr("Cancelling ..."));
}

bool ScanJob::isRunning() const
{
    return m_thread != nullptr;
}

void ScanJob::showProgress()
{
    DiscScanner::Progress progress;
    {
        const std::lock_guard lock(m_shared->mutex);
        if (!m_shared->fresh)
            return;
        progress = m_shared->progress;
        m_shared->fresh = false;
    }
    if (!m_progress)
        return;
    m_progress->setRange(progress.total);
    m_progress->setValue(progress.done);
    m_progress->setLine(QFile::decodeName(QByteArray::fromStdString(progress.path)));
}

void ScanJob::end()
{
    m_progressTimer.stop();
    m_thread->deleteLater();
    m_thread = nullptr;
    if (m_progress)
        m_progress->close();
    // A cancelled walk leaves a partial entry file that nobody will take.
    if (!m_completed)
        QFile::remove(m_entryFile);
    emit finished();
}

} // namespace lumidex
