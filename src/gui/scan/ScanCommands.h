#pragma once

#include "gui/app/WindowContext.h"
#include "scan/Drives.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

namespace lumidex {

class DriveAccess;
class ScanJob;
struct Disc;

// The commands that read discs into the catalog: Select CDRom, Scan CD with its naming rules
// (the volume label, a name asked for, or numbered names with the popup), Select path, and
// Update of a disc already in the catalog. The walk runs on a worker thread (ScanJob); the
// catalog and the container take the result only when it has ended, so a cancelled scan leaves
// both as they were. One scan at a time.
class ScanCommands : public QObject {
    Q_OBJECT
public:
    ScanCommands(WindowContext context, DriveAccess& drives, QObject* parent = nullptr);
    ~ScanCommands() override;

    // Once, while the window starts: the CD drives. Drives that could not be identified are
    // listed without a name and reported.
    void buildDriveList();
    const std::vector<DriveEntry>& drives() const { return m_drives; }
    int32_t selectedDrive() const { return m_selected; }
    void resetSelection(); // a new catalog: no drive selected

    void selectDrive();
    // `popupAt`: where the popup of numbered names opens (below the Scan CD button).
    void scanCd(const QPoint& popupAt);
    void setNumbering(bool on);
    void selectPath();
    void updateDisc(int category, int disc);

    bool isScanning() const { return m_job != nullptr; }
    void cancelScan();

    // The numbering state of "Additional scan option", for tests.
    QString baseName() const { return m_baseName; }
    int counter() const { return m_counter; }

signals:
    void statusTextChanged(const QString& text);
    void driveStateChanged(bool ready);
    void selectedDriveChanged(int32_t value);
    void scanStarted();
    // A scan has ended: `changed` when its disc went into the catalog.
    void scanFinished(bool changed);

private:
    struct Target {
        int category = -1;
        int disc = -1;      // the disc's tab: the next one for a new disc
        bool update = false;
    };
    void startScan(const Target& target, const QString& root, Disc disc);
    void finishScan();
    void reportDriveNotReady();
    QString entryFilePath(int category, int disc) const;

    WindowContext m_context;
    DriveAccess& m_access;
    std::vector<DriveEntry> m_drives;
    int32_t m_selected = NoDriveSelected;

    QString m_baseName = QStringLiteral("CD");
    int m_counter = 0;
    bool m_numbering = false;
    bool m_promptDue = true;

    std::unique_ptr<ScanJob> m_job;
    Target m_target;
};

} // namespace lumidex
