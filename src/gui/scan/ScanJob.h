#pragma once

#include "catalog/Disc.h"
#include "scan/ScanOptions.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

class QThread;

namespace lumidex {

class DriveAccess;
class ProgressDialog;

// One disc scan on a worker thread, shown in the progress window ("Reading info....", the file
// being read, Cancel). The job owns the disc it scans into; nothing of the catalog is touched
// while it runs, so the caller decides on finished() what to do with the result.
class ScanJob : public QObject {
    Q_OBJECT
public:
    // `disc` is the starting point: its records keep their comments for items found again.
    // `drives` must outlive the job; it is asked for a CD's capacity from the worker thread.
    ScanJob(const ScanOptions& options, const QString& root, Disc disc, const QString& entryFile,
            const DriveAccess& drives, QWidget* progressParent);
    ~ScanJob() override;

    void start();
    void cancel();
    bool isRunning() const;

    // After finished(): whether the walk ran to its end (false when cancelled), the scanned disc,
    // its description entry file and the number of files recorded.
    bool completed() const { return m_completed; }
    Disc& disc() { return m_disc; }
    const QString& entryFile() const { return m_entryFile; }
    const QString& root() const { return m_root; }
    int filesRecorded() const { return m_filesRecorded; }

signals:
    void finished();

private:
    struct Shared;
    void showProgress();
    void end();

    ScanOptions m_options;
    QString m_root;
    Disc m_disc;
    QString m_entryFile;
    const DriveAccess& m_drives;
    QPointer<ProgressDialog> m_progress;
    QThread* m_thread = nullptr;
    QTimer m_progressTimer;
    std::shared_ptr<Shared> m_shared;
    bool m_completed = false;
    int m_filesRecorded = 0;
};

} // namespace lumidex
