#include "scan/Drives.h"
#include "scan/FakeDriveAccess.h"
#include "scan/LinuxDriveAccess.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lumidex;

namespace {

QString identification(const char* vendor, const char* product, const char* revision)
{
    return composeIdentification({QString::fromLatin1(vendor), QString::fromLatin1(product),
                                  QString::fromLatin1(revision)});
}

// A root file system, a hard disk below /srv, two CD drives and a third drive with no disc.
FakeDriveAccess machine()
{
    FakeDriveAccess fake;
    fake.addDrive("/dev/sr0", "VENDOR  ", "PRODUCT         ", "1.0 ");
    fake.addDrive("/dev/sr1", "OTHER   ", "WRITER          ", "1.00");
    fake.addDrive("/dev/sr2");
    fake.mount("/dev/sda1", "/", 500'000'000'000);
    fake.mount("/dev/sdb1", "/srv", 2'000'000'000'000);
    fake.labels.insert("/dev/sdb1", "Archive");
    fake.insertDisc("/dev/sr0", "/media/user/GAMES", "GAMES", 650'000'000);
    fake.insertDisc("/dev/sr1", "/media/user/GAMES2", "GAMES2", 700'000'000);
    return fake;
}

} // namespace

TEST(DrivesTest, IdentificationRunsTheFieldsTogetherAndDropsOneTrailingMark)
{
    EXPECT_EQ(identification("VENDOR  ", "PRODUCT         ", "1.0 "), "VENDOR  PRODUCT         1.0");
    EXPECT_EQ(identification("HL-DT-ST", "DVDRAM GH24NSD1 ", "LG00"), "HL-DT-STDVDRAM GH24NSD1 LG00");
    EXPECT_EQ(identification("ACME", "CD", "1.0a"), "ACMECD1.0a");
    EXPECT_EQ(identification("ACME", "CD", "1.  "), "ACMECD1. ");
    EXPECT_EQ(identification("ACME", "CD", "1.0."), "ACMECD1.0");
    EXPECT_EQ(identification("", "", ""), "");
    EXPECT_EQ(identification("", "", " "), "");
    // Control characters from a broken drive must not reach a list row or a status line.
    EXPECT_EQ(identification("AC\tME", "CD\n", "7\r\x7f"), "AC MECD 7 ");
}

TEST(DrivesTest, ListKeepsThePlatformOrderAndListsDrivesThatCannotBeIdentified)
{
    FakeDriveAccess fake;
    fake.addDrive("/dev/sr1", "B", "", "");
    fake.addDrive("/dev/sr0", "A", "", "").hardware = std::nullopt;
    fake.addDrive("/dev/sr2", "C", "", "");

    const DriveListResult list = BuildDriveList(fake);
    const std::vector<DriveEntry> expected = {{"B", "/dev/sr1"}, {"", "/dev/sr0"}, {"C", "/dev/sr2"}};
    EXPECT_EQ(list.drives, expected);
    EXPECT_EQ(list.unidentified, QStringList{"/dev/sr0"});

    EXPECT_TRUE(BuildDriveList(FakeDriveAccess()).drives.empty());
}

TEST(DrivesTest, RowTextShowsTheDriveIdThenATabAndTheName)
{
    EXPECT_EQ(driveRowText({"VENDOR PRODUCT 1.0", "/dev/sr0"}), " (/dev/sr0)\tVENDOR PRODUCT 1.0");
    EXPECT_EQ(driveRowText({"", "/dev/sr1"}), " (/dev/sr1)\t");
}

TEST(DrivesTest, SelectedValueNamesAListPositionOnlyWhenValid)
{
    const std::vector<DriveEntry> drives = {{"A", "/dev/sr0"}, {"B", "/dev/sr1"}};
    EXPECT_EQ(selectedDrive(drives, NoDriveSelected), nullptr);
    EXPECT_EQ(selectedDrive(drives, 99), nullptr);
    EXPECT_EQ(selectedDrive(drives, selectedDriveValue(0)), &drives[0]);
    EXPECT_EQ(selectedDrive(drives, selectedDriveValue(1)), &drives[1]);
    EXPECT_EQ(selectedDrive(drives, selectedDriveValue(2)), nullptr);
    EXPECT_EQ(selectedDrive(drives, INT32_MAX), nullptr);
    EXPECT_FALSE(isDriveSelected(NoDriveSelected));
    EXPECT_TRUE(isDriveSelected(100));
}

TEST(DrivesTest, SelectingADriveGivesItsValueOnlyWhenADiscIsReady)
{
    FakeDriveAccess fake = machine();
    const std::vector<DriveEntry> drives = BuildDriveList(fake).drives;

    const auto ready = selectDrive(fake, drives, 1);
    ASSERT_TRUE(ready);
    EXPECT_TRUE(ready->ready);
    EXPECT_EQ(ready->value, 101);
    EXPECT_EQ(ready->drive, "/dev/sr1");
    EXPECT_EQ(ready->statusText, "Selected CD Drive  :   OTHER   WRITER          1.00");

    // The empty drive: the value falls back to "none", whatever was selected before, and the
    // status line still names the drive.
    const auto empty = selectDrive(fake, drives, 2);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->ready);
    EXPECT_EQ(empty->value, NoDriveSelected);
    EXPECT_EQ(empty->drive, "/dev/sr2");
    EXPECT_EQ(empty->statusText, "Selected CD Drive  :   ");

    EXPECT_FALSE(selectDrive(fake, drives, 3));
    EXPECT_FALSE(selectDrive(fake, drives, -1));
}

TEST(DrivesTest, ReadinessIsAskedOnlyForCdDrivesByDeviceOrMountPoint)
{
    FakeDriveAccess fake = machine();
    EXPECT_TRUE(IsReady(fake, "/dev/sr0"));
    EXPECT_TRUE(IsReady(fake, "/media/user/GAMES/"));
    EXPECT_FALSE(IsReady(fake, "/dev/sr2"));
    EXPECT_FALSE(IsReady(fake, "/media/user/GAMES/sub"));
    EXPECT_FALSE(IsReady(fake, "/dev/sda1"));
    EXPECT_FALSE(IsReady(fake, "/srv"));
    EXPECT_FALSE(IsReady(fake, ""));

    fake.find("/dev/sr0")->ready = false; // disc pulled out, mount still listed
    EXPECT_FALSE(IsReady(fake, "/dev/sr0"));
}

TEST(DrivesTest, RootForPathFollowsTheDeepestMountPoint)
{
    FakeDriveAccess fake = machine();
    // A second disc mounted inside the first one's tree, and a hard disk inside the second.
    fake.insertDisc("/dev/sr2", "/media/user/GAMES/extra", "EXTRA", 100);
    fake.mount("/dev/sdc1", "/media/user/GAMES/extra/disk");

    const auto rootOf = [&](const char* path) {
        const auto volume = driveRootForPath(fake, path);
        return volume ? volume->drive + " " + volume->mountPoint : QString("none");
    };
    EXPECT_EQ(rootOf("/media/user/GAMES"), "/dev/sr0 /media/user/GAMES");
    EXPECT_EQ(rootOf("/media/user/GAMES/"), "/dev/sr0 /media/user/GAMES");
    EXPECT_EQ(rootOf("/media/user/GAMES/a/b"), "/dev/sr0 /media/user/GAMES");
    EXPECT_EQ(rootOf("/media/user/GAMES2/a"), "/dev/sr1 /media/user/GAMES2");
    EXPECT_EQ(rootOf("/media/user/GAMES/extra/x"), "/dev/sr2 /media/user/GAMES/extra");
    EXPECT_EQ(rootOf("/media/user/GAMES/extra/disk/x"), "none");
    EXPECT_EQ(rootOf("/media/user/GAMES/x/../extra"), "/dev/sr2 /media/user/GAMES/extra");
    EXPECT_EQ(rootOf("/media/user/GAMESX"), "none");
    EXPECT_EQ(rootOf("/srv/a"), "none");
    EXPECT_EQ(rootOf("relative/path"), "none");

    EXPECT_EQ(discCapacityForPath(fake, "/media/user/GAMES/a"), 650'000'000);
    EXPECT_EQ(discCapacityForPath(fake, "/srv/a"), std::nullopt);

    // A disc mounted over another at the same point hides it.
    fake.insertDisc("/dev/sr1", "/media/user/GAMES", "", 1);
    EXPECT_EQ(rootOf("/media/user/GAMES/a"), "/dev/sr1 /media/user/GAMES");
    EXPECT_EQ(discCapacityForPath(fake, "/media/user/GAMES/a"), 1);
}

TEST(DrivesTest, LabelIsReadForAnyMountedBlockDevice)
{
    FakeDriveAccess fake = machine();
    fake.mount("tmpfs", "/run/user");
    fake.labels.insert("tmpfs", "never asked");

    EXPECT_EQ(GetVolumeLabel(fake, "/media/user/GAMES/"), "GAMES");
    EXPECT_EQ(GetVolumeLabel(fake, "/dev/sr1"), "GAMES2");
    EXPECT_EQ(GetVolumeLabel(fake, "/srv"), "Archive");
    EXPECT_EQ(GetVolumeLabel(fake, "/srv/folder"), "");
    EXPECT_EQ(GetVolumeLabel(fake, "/run/user"), "");
    EXPECT_EQ(GetVolumeLabel(fake, ""), "");
}

TEST(DrivesTest, EjectReachesOnlyCdDrives)
{
    FakeDriveAccess fake = machine();
    EXPECT_TRUE(Eject(fake, "/dev/sr0"));
    EXPECT_TRUE(Eject(fake, "/media/user/GAMES2/")); // a scan's root
    EXPECT_TRUE(Eject(fake, "/dev/sr2", false));

    // A folder scanned from a hard disk, a subfolder of a disc, a hard disk itself.
    EXPECT_FALSE(Eject(fake, "/srv"));
    EXPECT_FALSE(Eject(fake, "/media/user/GAMES/sub"));
    EXPECT_FALSE(Eject(fake, "/dev/sda1"));
    EXPECT_FALSE(Eject(fake, ""));

    const std::vector<FakeDriveAccess::EjectCall> expected = {
        {"/dev/sr0", true}, {"/dev/sr1", true}, {"/dev/sr2", false}};
    EXPECT_EQ(fake.ejectCalls, expected);

    fake.ejectAccepted = false;
    EXPECT_FALSE(Eject(fake, "/dev/sr0"));
}

TEST(LinuxDriveAccessTest, ReadsTheKernelDriveNamesAndOrdersDevicesByNumber)
{
    const QByteArray info = "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
                            "drive name:\t\tsr10\tsr2\tsr0\n"
                            "drive speed:\t\t24\t24\t24\n";
    EXPECT_EQ(LinuxDriveAccess::kernelDriveNames(info), (QStringList{"sr10", "sr2", "sr0"}));
    EXPECT_TRUE(LinuxDriveAccess::kernelDriveNames("drive speed:\t24\n").isEmpty());

    QStringList devices = {"/dev/sr10", "/dev/sr2", "/dev/sr0", "/dev/scd1"};
    std::sort(devices.begin(), devices.end(), LinuxDriveAccess::devicePathLess);
    EXPECT_EQ(devices, (QStringList{"/dev/scd1", "/dev/sr0", "/dev/sr2", "/dev/sr10"}));
}

// Runs against this machine, which may have no drive at all; nothing here may need one.
TEST(LinuxDriveAccessTest, QueriesTheMachineWithoutCrashing)
{
    LinuxDriveAccess access;
    const DriveListResult list = BuildDriveList(access);
    for (const DriveEntry& entry : list.drives) {
        EXPECT_TRUE(entry.drive.startsWith("/dev/")) << qPrintable(entry.drive);
        IsReady(access, entry.drive);
    }

    const std::vector<MountedVolume> volumes = access.mountedVolumes();
    for (const MountedVolume& volume : volumes) {
        EXPECT_TRUE(volume.device.startsWith('/')) << qPrintable(volume.device);
        GetVolumeLabel(access, volume.mountPoint);
    }
    EXPECT_FALSE(driveRootForPath(access, QDir::currentPath()));
    EXPECT_EQ(access.capacity(QDir::tempPath() + "/lumidex-no-such-mount"), -1);
    EXPECT_EQ(access.volumeLabel("/dev/null"), "");

    // Refused before anything is unmounted or opened.
    EXPECT_FALSE(access.eject("/dev/null", true));
    EXPECT_FALSE(Eject(access, QDir::rootPath()));
}
