#include "scan/SpecialFile.h"

#include "catalog/ItemKey.h"
#include "scan/ArchiveListing.h"
#include "scan/Mp3Data.h"
#include "scan/TextDescription.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace lumidex {

namespace {

constexpr std::array<std::string_view, 12> FourCharacterExtensions = {
    ".txt", ".nfo", ".diz", ".!!!", ".lst", ".rar", ".lha", ".lzh", ".zip", ".arj", ".cab", ".mp3"};

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

// The option that switches reading of a description type on; nullopt for other extensions.
std::optional<ScanOptions::Field> descriptionOption(std::string_view ext)
{
    if (ext == ".txt")
        return ScanOptions::Txt;
    if (ext == ".nfo")
        return ScanOptions::Nfo;
    if (ext == ".diz")
        return ScanOptions::Diz;
    if (ext == ".!!!")
        return ScanOptions::Bang;
    if (ext == ".lst")
        return ScanOptions::Lst;
    if (ext == ".me")
        return ScanOptions::Me;
    return std::nullopt;
}

bool isArchiveOrMp3(std::string_view ext)
{
    return ext == ".rar" || ext == ".lha" || ext == ".lzh" || ext == ".zip" || ext == ".arj" || ext == ".cab"
        || ext == ".mp3";
}

std::string lastPathComponent(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return bytes.mid(bytes.lastIndexOf('/') + 1).toStdString();
}

} // namespace

std::optional<std::string> specialExtension(std::string_view fileName)
{
    if (fileName.size() >= 4) {
        std::string last4 = lowerAscii(fileName.substr(fileName.size() - 4));
        for (std::string_view ext : FourCharacterExtensions)
            if (last4 == ext)
                return last4;
    }
    if (fileName.size() >= 3 && lowerAscii(fileName.substr(fileName.size() - 3)) == ".me")
        return std::string(".me");
    return std::nullopt;
}

SpecialFileResult ProcessSpecialFile(const QString& path, int level, int index, std::string_view extension,
    const ScanOptions& options)
{
    const std::string ext = lowerAscii(extension);
    SpecialFileResult result;

    // The size limit guards the reading of a description. A description type that is switched
    // off is an ordinary file and keeps its FileInfoRecord whatever its size.
    const auto textOption = descriptionOption(ext);
    if (textOption && options.isOn(*textOption) && !options.isOn(ScanOptions::AnySize)) {
        const qint64 size = QFileInfo(path).size(); // 0 for a file that cannot be found
        if (size > qint64(options[ScanOptions::MaxSize])) {
            result.recordFileInfo = false;
            return result;
        }
    }

    CFileObject object;
    object.key = ItemKey {level, index}.text();
    object.name = lastPathComponent(path);

    const auto archive = [&](std::vector<std::string> (*list)(const QString&)) {
        object.kind = CFileObject::ArchiveListing;
        object.lines = list(path);
    };
    if (ext == ".rar" && options.isOn(ScanOptions::Rar)) {
        archive(listRarArchive);
    } else if ((ext == ".lha" || ext == ".lzh") && options.readsLhaArchives()) {
        archive(listLhaArchive);
    } else if (ext == ".zip" && options.isOn(ScanOptions::Zip)) {
        archive(listZipArchive);
    } else if (ext == ".arj" && options.isOn(ScanOptions::Arj)) {
        archive(listArjArchive);
    } else if (ext == ".cab" && options.isOn(ScanOptions::Cab)) {
        archive(listCabArchive);
    } else if (ext == ".mp3" && options.isOn(ScanOptions::Mp3)) {
        object.kind = CFileObject::Mp3Data;
        object.lines = {Mp3InfoLine(path)};
    } else if (isArchiveOrMp3(ext) || (textOption && !options.isOn(*textOption))) {
        return result;
    } else {
        object.kind = CFileObject::TextDescription;
        object.lines = ReadTextDescription(path);
    }
    result.object = std::move(object);
    return result;
}

} // namespace lumidex
