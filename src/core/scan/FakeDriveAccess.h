#pragma once

#include "scan/DriveAccess.h"

#include <QHash>

#include <vector>

namespace lumidex {

// A machine made up in memory, for tests of the drive logic and of the windows that use it.
// Everything is public: set it up directly or with the helpers, then inspect ejectCalls.
class FakeDriveAccess : public DriveAccess {
public:
    struct Drive {
        QString device;
        std::optional<DriveHardwareInfo> hardware = DriveHardwareInfo{}; // nullopt: cannot be asked
        bool ready = false;
    };
    struct Volume {
        QString device;
        QString mountPoint;
        qint64 capacity = -1;
    };
    struct EjectCall {
        QString drive;
        bool open;
        friend bool operator==(const EjectCall&, const EjectCall&) = default;
    };

    std::vector<Drive> drives;   // in the order cdDrives() reports them
    std::vector<Volume> volumes; // in mount order
    QHash<QString, QString> labels; // by device
    bool ejectAccepted = true;
    std::vector<EjectCall> ejectCalls;

    Drive& addDrive(const QString& device, const QString& vendor = {}, const QString& product = {},
                    const QString& revision = {})
    {
        drives.push_back({device, DriveHardwareInfo{vendor, product, revision}, false});
        return drives.back();
    }

    void mount(const QString& device, const QString& mountPoint, qint64 capacity = -1)
    {
        volumes.push_back({device, mountPoint, capacity});
    }

    // A readable disc in a drive, mounted at mountPoint.
    void insertDisc(const QString& device, const QString& mountPoint, const QString& label = {},
                    qint64 capacity = -1)
    {
        mount(device, mountPoint, capacity);
        labels.insert(device, label);
        if (Drive* drive = find(device))
            drive->ready = true;
    }

    Drive* find(const QString& device)
    {
        for (Drive& drive : drives)
            if (drive.device == device)
                return &drive;
        return nullptr;
    }

    QStringList cdDrives() const override
    {
        QStringList list;
        for (const Drive& drive : drives)
            list << drive.device;
        return list;
    }

    std::optional<DriveHardwareInfo> hardwareInfo(const QString& device) const override
    {
        for (const Drive& drive : drives)
            if (drive.device == device)
                return drive.hardware;
        return std::nullopt;
    }

    std::vector<MountedVolume> mountedVolumes() const override
    {
        std::vector<MountedVolume> list;
        for (const Volume& volume : volumes)
            list.push_back({volume.device, volume.mountPoint});
        return list;
    }

    bool isReady(const QString& device) const override
    {
        for (const Drive& drive : drives)
            if (drive.device == device)
                return drive.ready;
        return false;
    }

    QString volumeLabel(const QString& device) const override { return labels.value(device); }

    qint64 capacity(const QString& mountPoint) const override
    {
        for (auto it = volumes.rbegin(); it != volumes.rend(); ++it)
            if (it->mountPoint == mountPoint)
                return it->capacity;
        return -1;
    }

    bool eject(const QString& device, bool open) override
    {
        ejectCalls.push_back({device, open});
        return ejectAccepted;
    }
};

} // namespace lumidex
