#include "scan/LinuxDriveAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>

#include <blkid/blkid.h>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc_hl_cmds.h>

#include <dirent.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumidex {

namespace {

// libcdio's default handler writes to stderr and ends the process on an error-level message.
void ignoreCdioMessage(cdio_log_level_t, const char[]) {}

bool isBlockDevice(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISBLK(st.st_mode);
}

// Labels are UTF-8 as libblkid reports them, except an ISO 9660 volume id written in some
// code page; those bytes are kept one character each rather than turned into replacement marks.
QString decodeLabel(const char* bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QByteArrayView view(bytes);
    QString text = utf8(view);
    return utf8.hasError() ? QString::fromLatin1(view) : text;
}

// Runs a helper with no terminal and no output, waiting at most half a minute.
bool runQuietly(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(path, arguments);
    if (!process.waitForStarted(5000))
        return false;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

std::pair<QStringView, qulonglong> splitTrailingNumber(QStringView path)
{
    qsizetype start = path.size();
    while (start > 0 && path[start - 1] >= u'0' && path[start - 1] <= u'9')
        --start;
    // At most 18 digits fit; longer runs compare by text below.
    const QStringView digits = path.mid(start).left(18);
    return {path.left(start), digits.isEmpty() ? 0 : digits.toULongLong()};
}

} // namespace

LinuxDriveAccess::LinuxDriveAccess()
{
    static std::once_flag once;
    std::call_once(once, [] {
        cdio_log_set_handler(ignoreCdioMessage);
        cdio_init();
    });
}

QStringList LinuxDriveAccess::kernelDriveNames(const QByteArray& cdromInfo)
{
    static const QByteArray key = "drive name:";
    for (const QByteArray& line : cdromInfo.split('\n')) {
        if (!line.startsWith(key))
            continue;
        QStringList names;
        for (const QByteArray& word : line.mid(key.size()).simplified().split(' '))
            if (!word.isEmpty() && !word.contains('/'))
                names << QString::fromLatin1(word);
        return names;
    }
    return {};
}

bool LinuxDriveAccess::devicePathLess(const QString& a, const QString& b)
{
    const auto [stemA, numberA] = splitTrailingNumber(a);
    const auto [stemB, numberB] = splitTrailingNumber(b);
    if (const int c = stemA.compare(stemB); c != 0)
        return c < 0;
    if (numberA != numberB)
        return numberA < numberB;
    return a < b;
}

QStringList LinuxDriveAccess::cdDrives() const
{
    std::call_once(m_drivesRead, [this] {
        QFile info(QStringLiteral("/proc/sys/dev/cdrom/info"));
        if (!info.open(QIODevice::ReadOnly))
            return; // no CD-ROM layer in the kernel: no CD drives
        const QStringList names = kernelDriveNames(info.readAll());
        if (names.isEmpty())
            return;

        QStringList candidates;
        if (char** devices = cdio_get_devices(DRIVER_LINUX)) {
            for (char** device = devices; *device; ++device)
                candidates << QFile::decodeName(*device);
            cdio_free_device_list(devices);
        }
        for (const QString& name : names)
            candidates << QStringLiteral("/dev/") + name;

        for (const QString& candidate : candidates) {
            const QString device = QFileInfo(candidate).canonicalFilePath();
            if (device.isEmpty() || m_drives.contains(device) || !names.contains(QFileInfo(device).fileName())
                || !isBlockDevice(device))
                continue;
            m_drives << device;
        }
        std::sort(m_drives.begin(), m_drives.end(), devicePathLess);
    });
    return m_drives;
}

std::optional<DriveHardwareInfo> LinuxDriveAccess::hardwareInfo(const QString& drive) const
{
    CdIo_t* cdio = cdio_open(QFile::encodeName(drive).constData(), DRIVER_LINUX);
    if (!cdio)
        return std::nullopt;
    cdio_hwinfo_t hw{};
    const bool answered = cdio_get_hwinfo(cdio, &hw);
    cdio_destroy(cdio);
    if (!answered)
        return DriveHardwareInfo{};
    return DriveHardwareInfo{QString::fromLatin1(hw.psz_vendor), QString::fromLatin1(hw.psz_model),
                             QString::fromLatin1(hw.psz_revision)};
}

std::vector<MountedVolume> LinuxDriveAccess::mountedVolumes() const
{
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        QString device = QFile::decodeName(storage.device());
        if (!device.startsWith(QLatin1Char('/')))
            continue;
        const QString canonical = QFileInfo(device).canonicalFilePath();
        if (!canonical.isEmpty())
            device = canonical;
        volumes.push_back({device, QDir::cleanPath(storage.rootPath())});
    }
    return volumes;
}

bool LinuxDriveAccess::isReady(const QString& drive) const
{
    const QString root = rootPath(drive);
    if (root.isEmpty())
        return false;
    DIR* dir = ::opendir(QFile::encodeName(root).constData());
    if (!dir)
        return false;
    // A disc pulled out while mounted still opens from the cache; reading the entries finds out.
    errno = 0;
    while (::readdir(dir))
        ;
    const bool readable = errno == 0;
    ::closedir(dir);
    return readable;
}

QString LinuxDriveAccess::volumeLabel(const QString& device) const
{
    if (!device.startsWith(QLatin1Char('/')) || !isBlockDevice(device))
        return {};
    if (blkid_probe probe = blkid_new_probe_from_filename(QFile::encodeName(device).constData())) {
        blkid_probe_enable_superblocks(probe, 1);
        blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL);
        const bool probed = blkid_do_safeprobe(probe) == 0;
        QString label;
        const char* value = nullptr;
        if (probed && blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value)
            label = decodeLabel(value);
        blkid_free_probe(probe);
        if (probed)
            return label;
    }
    // The device cannot be read by this user (or holds nothing libblkid knows). With udev the
    // mount table still knows the label.
    const QString root = rootPath(device);
    return root.isEmpty() ? QString() : QStorageInfo(root).name();
}

qint64 LinuxDriveAccess::capacity(const QString& mountPoint) const
{
    const QStorageInfo storage(mountPoint);
    // QStorageInfo answers for the volume holding the path; once the disc is unmounted that is
    // the volume of the empty folder.
    if (!storage.isValid() || !storage.isReady()
        || QDir::cleanPath(storage.rootPath()) != QDir::cleanPath(mountPoint))
        return -1;
    return storage.bytesTotal();
}

bool LinuxDriveAccess::unmountAll(const QString& drive) const
{
    const auto mountPoints = [&] {
        QStringList points;
        for (const MountedVolume& volume : mountedVolumes())
            if (volume.device == drive)
                points.prepend(volume.mountPoint); // latest first: it may sit inside an earlier one
        return points;
    };
    QStringList points = mountPoints();
    if (points.isEmpty())
        return true;

    // Only a privileged process gets through the system call; desktop users have udisks, and
    // file systems marked "user" in fstab the set-uid umount.
    for (const QString& point : points)
        ::umount2(QFile::encodeName(point).constData(), 0);
    if ((points = mountPoints()).isEmpty())
        return true;
    runQuietly(QStringLiteral("udisksctl"),
               {QStringLiteral("unmount"), QStringLiteral("--no-user-interaction"), QStringLiteral("--block-device"),
                drive});
    if ((points = mountPoints()).isEmpty())
        return true;
    for (const QString& point : points)
        runQuietly(QStringLiteral("umount"), {point});
    return mountPoints().isEmpty();
}

bool LinuxDriveAccess::eject(const QString& drive, bool open)
{
    // Never unmount or send commands to anything but a CD drive.
    if (!cdDrives().contains(drive))
        return false;
    // A mounted disc is not ejected: the kernel refuses, and forcing it would pull the medium from
    // under its file system.
    if (open && !unmountAll(drive))
        return false;

    const QByteArray path = QFile::encodeName(drive);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (::ioctl(fd, open ? CDROMEJECT : CDROMCLOSETRAY, 0) == 0) {
            error = 0;
            break;
        }
        error = errno;
        if (error != EBUSY)
            break;
        // Desktop services poll the drive and hold it open for a moment.
        QThread::msleep(300);
    }
    ::close(fd);
    if (error == 0)
        return true;
    if (error == EBUSY)
        return false; // someone else uses the drive

    // Some drives (USB bridges) refuse the ioctl but take the MMC command. libcdio's own eject is
    // not used: it closes an open tray instead, and unmounts by forking from this process.
    CdIo_t* cdio = cdio_open(path.constData(), DRIVER_LINUX);
    if (!cdio)
        return false;
    const driver_return_code_t rc = open ? mmc_eject_media(cdio) : mmc_close_tray(cdio);
    cdio_destroy(cdio);
    return rc == DRIVER_OP_SUCCESS;
}

} // namespace lumidex
