#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumidex {

// The three fields of a drive's INQUIRY answer, as the drive sent them: space-padded to 8, 16 and
// 4 characters by most drives, possibly shorter.
struct DriveHardwareInfo {
    QString vendor;
    QString product;
    QString revision;
};

// A mounted file system with a block device (or at least an absolute device path) behind it.
struct MountedVolume {
    QString device;     // canonical device path, e.g. /dev/sr0
    QString mountPoint; // without a trailing slash, except "/" itself
};

// Everything the drive logic asks of the system. Drives are named by their device path; that
// path is the "drive id" the rest of the program passes around. The root a scan reads from is the
// mount point of the drive's medium (rootPath), not something derived from the id.
//
// Implementations must not prompt, print or block indefinitely; a failed query is an empty or
// negative answer. Calls may come from a scan's worker thread as well as the GUI thread.
class DriveAccess {
public:
    virtual ~DriveAccess() = default;

    // Device paths of the CD drives, ordered by device path ("/dev/sr2" before "/dev/sr10").
    virtual QStringList cdDrives() const = 0;

    // nullopt when the drive cannot be opened at all; fields left empty when it opened but did
    // not answer the inquiry.
    virtual std::optional<DriveHardwareInfo> hardwareInfo(const QString& drive) const = 0;

    // Every mounted volume, in mount order (a later mount hides an earlier one at the same point).
    virtual std::vector<MountedVolume> mountedVolumes() const = 0;

    // Whether the drive's medium is mounted and the root of its file system can be listed.
    virtual bool isReady(const QString& drive) const = 0;

    // The label of the file system on a block device; empty when it has none or it cannot be read.
    virtual QString volumeLabel(const QString& device) const = 0;

    // Total size in bytes of the volume mounted exactly at mountPoint; -1 when nothing is mounted
    // there or the size cannot be read.
    virtual qint64 capacity(const QString& mountPoint) const = 0;

    // open: unmount the medium where the system allows it, then open the tray. !open: close the
    // tray. Whether the drive took the request; refused for anything that is not one of cdDrives().
    virtual bool eject(const QString& drive, bool open) = 0;

    // Where the drive's medium is mounted (its first mount); empty when it is not mounted.
    QString rootPath(const QString& drive) const
    {
        for (const MountedVolume& volume : mountedVolumes())
            if (volume.device == drive)
                return volume.mountPoint;
        return {};
    }
};

} // namespace lumidex
