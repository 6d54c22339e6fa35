#pragma once

#include "scan/DriveAccess.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace lumidex {

// One CD drive of the drive list.
struct DriveEntry {
    QString name;  // identification ("vendor product revision" as the drive reports it); may be empty
    QString drive; // drive id: the device path

    friend bool operator==(const DriveEntry&, const DriveEntry&) = default;
};

struct DriveListResult {
    std::vector<DriveEntry> drives;
    // Drives that could not be asked for their identification. They are listed all the same, with
    // an empty name; the caller may report them (driveListErrorText).
    QStringList unidentified;
};

// The drive list, in the order the platform reports the drives. Built once by the main window.
DriveListResult BuildDriveList(const DriveAccess& access);

// The identification shown for a drive: the three inquiry fields run together as the drive sent
// them, control characters turned into blanks, and one trailing character that is not an ASCII
// letter or digit removed (only one: a pad of two blanks keeps the first).
QString composeIdentification(const DriveHardwareInfo& info);

// The row of the Select CD-Rom list: " (" + drive id + ")", a tab, the name.
QString driveRowText(const DriveEntry& entry);

// The selected-drive value held by the main window: -1 for none, 100 + i for the drive at list
// position i, set only when that drive held a readable medium when it was chosen.
inline constexpr int32_t NoDriveSelected = -1;
constexpr int32_t selectedDriveValue(int index) { return 100 + index; }
constexpr bool isDriveSelected(int32_t value) { return value > 99; }
// The list entry a value names; nullptr for "none" and for a position outside the list.
const DriveEntry* selectedDrive(const std::vector<DriveEntry>& drives, int32_t value);

// What a double-click on row `row` of the Select CD-Rom list yields. The main-window mode uses
// all of it; the drive-only mode takes only `drive`.
struct DriveSelection {
    QString drive;
    bool ready = false;
    int32_t value = NoDriveSelected; // 100 + row when ready, else -1
    QString statusText;              // "Selected CD Drive  :   " + name, ready or not
};
// nullopt for a row outside the list.
std::optional<DriveSelection> selectDrive(const DriveAccess& access, const std::vector<DriveEntry>& drives,
                                          int row);

// The CD drive that `driveOrRoot` names: its device path, or the mount point of its medium (a
// trailing slash ignored). nullopt for anything else, e.g. a folder below the mount point.
std::optional<QString> resolveDrive(const DriveAccess& access, const QString& driveOrRoot);

// Whether the drive (device path or mount point of its medium) holds a readable medium. False for
// anything that is not a CD drive.
bool IsReady(const DriveAccess& access, const QString& driveOrRoot);

// open: eject the medium; !open: close the tray. Takes a device path or the mount point of the
// medium, so a scan can pass its root; anything else (a folder on a hard disk, a subfolder of the
// disc) does nothing. Whether the drive took the request.
bool Eject(DriveAccess& access, const QString& driveOrRoot, bool open = true);

// The label of the volume mounted at `root` (a trailing slash ignored), for naming a disc after
// its label: any mounted block device counts, not only CD drives. A CD drive's device path is
// accepted as well. Empty for anything else and for an unlabelled or unreadable volume.
QString GetVolumeLabel(const DriveAccess& access, const QString& root);

// A CD drive's medium that holds a path.
struct DriveVolume {
    QString drive;
    QString mountPoint;
};
// The CD volume a path lies on: the mount with the longest mount point containing the path
// decides, so a hard disk mounted inside a disc's folder tree is not the disc. nullopt when the
// path is on no CD drive's medium.
std::optional<DriveVolume> driveRootForPath(const DriveAccess& access, const QString& path);
// The size a scan of `path` records for the disc when it lies on a CD: the capacity of that volume.
// nullopt otherwise (also when the capacity cannot be read); the walk then adds up file sizes.
std::optional<qint64> discCapacityForPath(const DriveAccess& access, const QString& path);

// Texts for the caller to show.
QString driveNotReadyText();                         // "Drive is not ready !"
QString driveListErrorText();                        // "Error !": a drive could not be identified
QString noDriveSelectedStatusText();                 // tab + "- CD Drive is not selected -"
QString selectedDriveStatusText(const QString& name); // "Selected CD Drive  :   " + name

} // namespace lumidex
