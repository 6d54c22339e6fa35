#include "scan/Drives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lumidex {

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

// Paths from callers may come through symlinks (/dev/cdrom, /media/cdrom) or carry a trailing
// slash; the system reports devices and mount points resolved.
QString normalizedPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

bool mountPointHolds(const QString& mountPoint, const QString& path)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint
        || (path.startsWith(mountPoint) && path.at(mountPoint.size()) == QLatin1Char('/'));
}

// The volume visible at exactly this mount point: the last one mounted there.
const MountedVolume* volumeMountedAt(const std::vector<MountedVolume>& volumes, const QString& path)
{
    for (auto it = volumes.rbegin(); it != volumes.rend(); ++it)
        if (QDir::cleanPath(it->mountPoint) == path)
            return &*it;
    return nullptr;
}

} // namespace

DriveListResult BuildDriveList(const DriveAccess& access)
{
    DriveListResult result;
    for (const QString& drive : access.cdDrives()) {
        const std::optional<DriveHardwareInfo> info = access.hardwareInfo(drive);
        if (!info)
            result.unidentified << drive;
        result.drives.push_back({info ? composeIdentification(*info) : QString(), drive});
    }
    return result;
}

QString composeIdentification(const DriveHardwareInfo& info)
{
    QString text = info.vendor + info.product + info.revision;
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    if (!text.isEmpty() && !isAsciiLetterOrDigit(text.back()))
        text.chop(1);
    return text;
}

QString driveRowText(const DriveEntry& entry)
{
    return QLatin1String(" (") + entry.drive + QLatin1String(")\t") + entry.name;
}

const DriveEntry* selectedDrive(const std::vector<DriveEntry>& drives, int32_t value)
{
    if (!isDriveSelected(value))
        return nullptr;
    const int64_t index = int64_t(value) - 100;
    return index < int64_t(drives.size()) ? &drives[size_t(index)] : nullptr;
}

std::optional<DriveSelection> selectDrive(const DriveAccess& access, const std::vector<DriveEntry>& drives,
                                          int row)
{
    if (row < 0 || size_t(row) >= drives.size())
        return std::nullopt;
    const DriveEntry& entry = drives[size_t(row)];
    DriveSelection selection;
    selection.drive = entry.drive;
    selection.ready = IsReady(access, entry.drive);
    selection.value = selection.ready ? selectedDriveValue(row) : NoDriveSelected;
    selection.statusText = selectedDriveStatusText(entry.name);
    return selection;
}

std::optional<QString> resolveDrive(const DriveAccess& access, const QString& driveOrRoot)
{
    const QString path = normalizedPath(driveOrRoot);
    if (path.isEmpty())
        return std::nullopt;
    const QStringList drives = access.cdDrives();
    if (drives.contains(path))
        return path;
    const std::vector<MountedVolume> volumes = access.mountedVolumes();
    const MountedVolume* volume = volumeMountedAt(volumes, path);
    if (volume && drives.contains(volume->device))
        return volume->device;
    return std::nullopt;
}

bool IsReady(const DriveAccess& access, const QString& driveOrRoot)
{
    const std::optional<QString> drive = resolveDrive(access, driveOrRoot);
    return drive && access.isReady(*drive);
}

bool Eject(DriveAccess& access, const QString& driveOrRoot, bool open)
{
    const std::optional<QString> drive = resolveDrive(access, driveOrRoot);
    return drive && access.eject(*drive, open);
}

QString GetVolumeLabel(const DriveAccess& access, const QString& root)
{
    const QString path = normalizedPath(root);
    if (path.isEmpty())
        return {};
    if (access.cdDrives().contains(path))
        return access.volumeLabel(path);
    const std::vector<MountedVolume> volumes = access.mountedVolumes();
    const MountedVolume* volume = volumeMountedAt(volumes, path);
    // Virtual file systems name no device ("tmpfs", "proc"); there is nothing to probe.
    if (!volume || !volume->device.startsWith(QLatin1Char('/')))
        return {};
    return access.volumeLabel(volume->device);
}

std::optional<DriveVolume> driveRootForPath(const DriveAccess& access, const QString& path)
{
    const QString target = normalizedPath(path);
    if (!target.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const std::vector<MountedVolume> volumes = access.mountedVolumes();
    const MountedVolume* holder = nullptr;
    QString holderPoint;
    for (const MountedVolume& volume : volumes) {
        const QString point = QDir::cleanPath(volume.mountPoint);
        // ">=": of two mounts at the same point the later one is the one visible.
        if (mountPointHolds(point, target) && (!holder || point.size() >= holderPoint.size())) {
            holder = &volume;
            holderPoint = point;
        }
    }
    if (!holder || !access.cdDrives().contains(holder->device))
        return std::nullopt;
    return DriveVolume{holder->device, holderPoint};
}

std::optional<qint64> discCapacityForPath(const DriveAccess& access, const QString& path)
{
    const std::optional<DriveVolume> volume = driveRootForPath(access, path);
    if (!volume)
        return std::nullopt;
    const qint64 bytes = access.capacity(volume->mountPoint);
    return bytes >= 0 ? std::optional<qint64>(bytes) : std::nullopt;
}

QString driveNotReadyText()
{
    return QCoreApplication::translate("Drives", "Drive is not ready !");
}

QString driveListErrorText()
{
    return QCoreApplication::translate("Drives", "Error !");
}

QString noDriveSelectedStatusText()
{
    return QCoreApplication::translate("Drives", "\t- CD Drive is not selected -");
}

QString selectedDriveStatusText(const QString& name)
{
    return QCoreApplication::translate("Drives", "Selected CD Drive  :   ") + name;
}

} // namespace lumidex
