// drives: the CD drives as the Select CD-Rom list shows them, with the state of their media.
#include "cli/Command.h"

#include "scan/Drives.h"
#include "scan/LinuxDriveAccess.h"

#include <QString>

#include <cstdio>

namespace lumidex::cli {

namespace {

// Mount points and labels may hold any character; keep each drive on one line and the fields
// apart.
QByteArray field(const QString& text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if ((unsigned char)c < 0x20 || c == 0x7f)
                out += QStringLiteral("\\x%1").arg(int((unsigned char)c), 2, 16, QLatin1Char('0')).toLatin1();
            else
                out += c;
        }
    }
    return out;
}

int runDrives(const QStringList&)
{
    LinuxDriveAccess access;
    const DriveListResult list = BuildDriveList(access);
    for (const QString& drive : list.unidentified)
        std::fprintf(stderr, "lumidex-cli drives: %s did not answer the identification query\n",
                     field(drive).constData());
    if (list.drives.empty()) {
        std::fprintf(stderr, "lumidex-cli drives: no CD drives found\n");
        return ExitOk;
    }
    for (const DriveEntry& entry : list.drives) {
        const bool ready = IsReady(access, entry.drive);
        const QString root = ready ? access.rootPath(entry.drive) : QString();
        const QString label = ready ? GetVolumeLabel(access, root) : QString();
        std::printf(" (%s)\t%s\t%s\t%s\t%s\n", field(entry.drive).constData(), field(entry.name).constData(),
                    ready ? "ready" : "not-ready", field(root).constData(), field(label).constData());
    }
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

} // namespace

Command drivesCommand()
{
    return {"drives", "", "list the CD drives and their media",
            "Prints one line per CD drive, in the order of the drive list, with five\n"
            "tab-separated fields:\n"
            "  1  \" (DEVICE)\": a blank and the device path in parentheses\n"
            "  2  the drive's identification (vendor, product, revision); may be empty\n"
            "     Fields 1 and 2 are the row of the Select CD-Rom list.\n"
            "  3  \"ready\" when a disc is mounted and readable, else \"not-ready\"\n"
            "  4  the mount point of the disc; empty when not ready\n"
            "  5  the volume label of the disc; empty when not ready or unlabelled\n"
            "A backslash, tab, line feed or other control character inside a field is written\n"
            "as \\\\, \\t, \\n, \\r or \\xHH. With no CD drive nothing is printed on stdout and the\n"
            "status is 0; a note goes to stderr. A disc counts as ready only when its file\n"
            "system is mounted (by the desktop or by mount).",
            0, 0, runDrives};
}

} // namespace lumidex::cli
