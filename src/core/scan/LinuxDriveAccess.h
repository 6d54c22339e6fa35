#pragma once

#include "scan/DriveAccess.h"

#include <QByteArray>

#include <mutex>

namespace lumidex {

// The drives of this machine: libcdio for the drives and their identification, the kernel's
// mount table (through QStorageInfo) for mount points and sizes, libblkid for labels.
//
// The CD drives are those the kernel's CD-ROM layer registers; libcdio's own list also takes in
// any device with an ISO 9660 file system mounted (a loop-mounted image) when it cannot open it,
// which would make the list depend on the user's permissions. The list is read once per object.
class LinuxDriveAccess final : public DriveAccess {
public:
    LinuxDriveAccess();

    QStringList cdDrives() const override;
    std::optional<DriveHardwareInfo> hardwareInfo(const QString& drive) const override;
    std::vector<MountedVolume> mountedVolumes() const override;
    bool isReady(const QString& drive) const override;
    QString volumeLabel(const QString& device) const override;
    qint64 capacity(const QString& mountPoint) const override;
    bool eject(const QString& drive, bool open) override;

    // The device names ("sr0") in the text of /proc/sys/dev/cdrom/info.
    static QStringList kernelDriveNames(const QByteArray& cdromInfo);
    // Orders device paths by name, then by their trailing number: sr2 before sr10.
    static bool devicePathLess(const QString& a, const QString& b);

private:
    bool unmountAll(const QString& drive) const;

    mutable std::once_flag m_drivesRead;
    mutable QStringList m_drives;
};

} // namespace lumidex
