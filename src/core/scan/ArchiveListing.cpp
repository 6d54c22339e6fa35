#include "scan/ArchiveListing.h"

#include "scan/ArjReader.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>
#include <zip.h>

#include <locale.h>
#include <memory>
#include <sys/stat.h>

namespace lumidex {

namespace {

struct Member {
    std::string path;
    uint64_t size = 0;
    bool directory = false;
};

// libarchive converts names through the C library's multibyte functions, which fail on anything
// but ASCII in the "C" locale. A UTF-8 LC_CTYPE is switched on for the calling thread only while
// an archive is read, so neither the process locale nor other threads are touched.
class Utf8CtypeScope {
public:
    Utf8CtypeScope()
    {
        static const locale_t utf8 = [] {
            locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
            return l ? l : newlocale(LC_CTYPE_MASK, "", locale_t(nullptr));
        }();
        if (utf8)
            m_previous = uselocale(utf8);
    }
    ~Utf8CtypeScope()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    Utf8CtypeScope(const Utf8CtypeScope&) = delete;
    Utf8CtypeScope& operator=(const Utf8CtypeScope&) = delete;

private:
    locale_t m_previous = locale_t(nullptr);
};

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | ((cp >> 18) & 0x07));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// LHA names are read as ISO-8859-1 (see listLhaArchive), so each character below 0x100 is one
// stored byte. Characters above it only come from a header that names its own code page; they
// are kept as UTF-8.
std::string bytesFromLatin1Wide(const wchar_t* wide)
{
    std::string out;
    for (; *wide; ++wide) {
        const auto cp = static_cast<uint32_t>(*wide);
        if (cp < 0x100)
            out += char(cp);
        else
            appendUtf8(out, cp);
    }
    return out;
}

std::string wideToUtf8(const wchar_t* wide)
{
    std::string out;
    for (; *wide; ++wide)
        appendUtf8(out, static_cast<uint32_t>(*wide));
    return out;
}

enum class NameSource { Multibyte, Latin1Wide };

std::string entryPath(archive_entry* entry, NameSource source)
{
    if (source == NameSource::Latin1Wide) {
        if (const wchar_t* w = archive_entry_pathname_w(entry))
            return bytesFromLatin1Wide(w);
    }
    if (const char* p = archive_entry_pathname(entry))
        return p;
    if (const char* p = archive_entry_pathname_utf8(entry))
        return p;
    if (const wchar_t* w = archive_entry_pathname_w(entry))
        return wideToUtf8(w);
    return {};
}

struct ArchiveFree {
    void operator()(archive* a) const { archive_read_free(a); }
};

// The members up to the end of the archive or the first error; none when it cannot be opened.
std::vector<Member> readWithLibarchive(const QString& path, void (*registerFormats)(archive*), const char* options,
    NameSource names)
{
    Utf8CtypeScope utf8;
    std::vector<Member> members;
    std::unique_ptr<archive, ArchiveFree> a(archive_read_new());
    if (!a)
        return members;
    registerFormats(a.get());
    if (options && archive_read_set_options(a.get(), options) != ARCHIVE_OK)
        return members;
    const QByteArray encoded = QFile::encodeName(path);
    if (archive_read_open_filename(a.get(), encoded.constData(), 64 * 1024) != ARCHIVE_OK)
        return members;

    // Each call moves past the previous member's data, so the loop ends with the file; a
    // warning (a name that could not be converted, say) still describes a member.
    archive_entry* entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
            break; // ARCHIVE_EOF, or an error
        Member m;
        m.path = entryPath(entry, names);
        m.size = archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0 ? uint64_t(archive_entry_size(entry)) : 0;
        m.directory = archive_entry_filetype(entry) == AE_IFDIR;
        members.push_back(std::move(m));
    }
    return members;
}

std::string withBackslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void registerRar(archive* a)
{
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
}
void registerLha(archive* a) { archive_read_support_format_lha(a); }
void registerCab(archive* a) { archive_read_support_format_cab(a); }

std::vector<std::string> errorListing() { return {std::string(ArchiveErrorLine)}; }

// libarchive lists the members of a CAB whose data is cut off without complaint, since their
// records all sit in the header; the cabinet's own size field tells that it is incomplete.
bool isTruncatedCabinet(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("MSCF"))
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(head.constData()) + 8;
    const uint32_t declared = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return file.size() < qint64(declared);
}

bool isZipDirectory(zip_t* za, zip_uint64_t index, std::string_view name)
{
    if (!name.empty() && (name.back() == '/' || name.back() == '\\'))
        return true;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(za, index, 0, &system, &attributes) != 0)
        return false;
    if (system == ZIP_OPSYS_UNIX)
        return S_ISDIR(attributes >> 16);
    if (system == ZIP_OPSYS_DOS || system == ZIP_OPSYS_WINDOWS_NTFS || system == ZIP_OPSYS_VFAT)
        return (attributes & 0x10) != 0;
    return false;
}

} // namespace

std::string archiveListingLine(std::string_view storedPath, char separator, uint64_t size)
{
    const size_t cut = storedPath.rfind(separator);
    std::string name(cut == std::string_view::npos ? storedPath : storedPath.substr(cut + 1));
    std::string folder(cut == std::string_view::npos ? std::string_view(" ") : storedPath.substr(0, cut));
    for (std::string* part : {&name, &folder})
        for (char& c : *part)
            if (c == ',')
                c = '_';
    return name + ',' + folder + ',' + std::to_string(size);
}

std::vector<std::string> listRarArchive(const QString& path)
{
    std::vector<std::string> lines;
    for (const Member& m : readWithLibarchive(path, registerRar, nullptr, NameSource::Multibyte))
        lines.push_back(archiveListingLine(withBackslashes(m.path), '\\', m.size));
    return lines;
}

// ZIP goes through libzip, which reads the central directory the way the old ZIP library did:
// entries in directory order, an archive without a central directory refused as a whole, an
// empty archive accepted, and names available exactly as stored.
std::vector<std::string> listZipArchive(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    int error = 0;
    zip_t* za = zip_open(encoded.constData(), ZIP_RDONLY, &error);
    if (!za)
        return errorListing();

    std::vector<std::string> lines;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        const char* raw = zip_get_name(za, index, ZIP_FL_ENC_RAW);
        zip_stat_t st;
        zip_stat_init(&st);
        if (!raw || zip_stat_index(za, index, 0, &st) != 0)
            continue;
        const std::string name(raw);
        if (isZipDirectory(za, index, name))
            continue;
        const uint64_t size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
        lines.push_back(archiveListingLine(withBackslashes(name), '\\', size));
    }
    zip_discard(za);
    return lines;
}

// LHA headers carry no reliable code page, and libarchive insists on converting names to
// Unicode (a name that does not convert fails the whole archive). ISO-8859-1 maps every byte to
// one character, so reading the names as ISO-8859-1 and mapping the characters back gives the
// stored bytes unchanged, whatever code page the archive was made in.
std::vector<std::string> listLhaArchive(const QString& path)
{
    const std::vector<Member> members
        = readWithLibarchive(path, registerLha, "lha:hdrcharset=ISO-8859-1", NameSource::Latin1Wide);
    std::vector<std::string> lines;
    for (const Member& m : members)
        if (!m.directory)
            lines.push_back(archiveListingLine(m.path, '/', m.size));
    return lines.empty() ? errorListing() : lines;
}

std::vector<std::string> listArjArchive(const QString& path)
{
    const auto members = readArjMembers(path);
    std::vector<std::string> lines;
    if (members) {
        for (const ArjMember& m : *members)
            if (m.fileType == ArjMember::Binary || m.fileType == ArjMember::Text)
                lines.push_back(archiveListingLine(withBackslashes(m.path), '\\', m.originalSize));
    }
    return lines.empty() ? errorListing() : lines;
}

std::vector<std::string> listCabArchive(const QString& path)
{
    if (isTruncatedCabinet(path))
        return errorListing();
    const std::vector<Member> members = readWithLibarchive(path, registerCab, nullptr, NameSource::Multibyte);
    std::vector<std::string> lines;
    for (const Member& m : members)
        if (!m.directory)
            lines.push_back(archiveListingLine(withBackslashes(m.path), '\\', m.size));
    return lines.empty() ? errorListing() : lines;
}

} // namespace lumidex
