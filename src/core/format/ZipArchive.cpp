#include "format/ZipArchive.h"

#include "format/IniFile.h"

#include <QFile>

#include <zip.h>

namespace lumidex {

namespace {

QString openErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// libzip takes names as C strings: an embedded NUL would silently shorten the name.
bool usableName(std::string_view name)
{
    return !name.empty() && name.find('\0') == std::string_view::npos;
}

} // namespace

ZipArchive::~ZipArchive()
{
    discard();
}

bool ZipArchive::open(const QString& path, Mode mode)
{
    discard();
    m_path = path;
    m_error.clear();
    int flags = 0;
    switch (mode) {
    case Mode::ReadOnly:
        flags = ZIP_RDONLY;
        break;
    case Mode::Edit:
        break;
    case Mode::Truncate:
        // libzip does not read or touch the old file here; it is only replaced by close().
        flags = ZIP_CREATE | ZIP_TRUNCATE;
        break;
    }
    int code = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), flags, &code);
    if (!m_zip) {
        m_error = QStringLiteral("cannot open '%1': %2").arg(path, openErrorText(code));
        return false;
    }
    return true;
}

bool ZipArchive::fail(const QString& what)
{
    m_error = m_zip ? QStringLiteral("%1 in '%2': %3").arg(what, m_path, zipError())
                    : QStringLiteral("%1: '%2' is not open").arg(what, m_path);
    return false;
}

QString ZipArchive::zipError() const
{
    return m_zip ? QString::fromLocal8Bit(zip_strerror(m_zip)) : QString();
}

int64_t ZipArchive::find(std::string_view name) const
{
    if (!m_zip || !usableName(name))
        return -1;
    return zip_name_locate(m_zip, std::string(name).c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_RAW);
}

std::vector<std::string> ZipArchive::names() const
{
    std::vector<std::string> out;
    if (!m_zip)
        return out;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_RAW))
            out.emplace_back(name);
    return out;
}

int64_t ZipArchive::liveEntryCount() const
{
    return int64_t(names().size());
}

std::optional<QByteArray> ZipArchive::read(std::string_view name)
{
    const int64_t index = find(name);
    if (index < 0) {
        m_error = QStringLiteral("no entry '%1' in '%2'").arg(QString::fromUtf8(name.data(), qsizetype(name.size())), m_path);
        return std::nullopt;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &st) != 0) {
        fail(QStringLiteral("cannot read entry"));
        return std::nullopt;
    }
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxEntrySize)) {
        m_error = QStringLiteral("entry '%1' in '%2' is too large").arg(QString::fromUtf8(name.data(), qsizetype(name.size())), m_path);
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file) {
        fail(QStringLiteral("cannot read entry"));
        return std::nullopt;
    }
    QByteArray bytes;
    if (st.valid & ZIP_STAT_SIZE)
        bytes.reserve(qsizetype(st.size));
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
        if (got < 0) {
            m_error = QStringLiteral("cannot read entry in '%1': %2").arg(m_path, QString::fromLocal8Bit(zip_file_strerror(file)));
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (bytes.size() + got > maxEntrySize) {
            m_error = QStringLiteral("entry in '%1' is too large").arg(m_path);
            ok = false;
            break;
        }
        bytes.append(chunk, qsizetype(got));
    }
    zip_fclose(file);
    if (ok && (st.valid & ZIP_STAT_SIZE) && zip_uint64_t(bytes.size()) != st.size) {
        m_error = QStringLiteral("entry in '%1' is truncated").arg(m_path);
        ok = false;
    }
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool ZipArchive::put(const std::string& name, const QByteArray& bytes)
{
    if (!m_zip)
        return fail(QStringLiteral("cannot add an entry"));
    if (!usableName(name)) {
        m_error = QStringLiteral("invalid entry name");
        return false;
    }
    // Case variants of the name would survive a plain replace: keep only the first.
    int64_t index = find(name);
    if (index >= 0) {
        const zip_int64_t count = zip_get_num_entries(m_zip, 0);
        for (zip_int64_t i = index + 1; i < count; ++i) {
            const char* other = zip_get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_RAW);
            if (other && equalsIgnoringAsciiCase(other, name) && zip_delete(m_zip, zip_uint64_t(i)) != 0)
                return fail(QStringLiteral("cannot delete an entry"));
        }
    }

    m_buffers.push_back(bytes);
    const QByteArray& kept = m_buffers.back();
    zip_source_t* source = zip_source_buffer(m_zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!source)
        return fail(QStringLiteral("cannot add an entry"));
    if (index >= 0) {
        if (zip_file_replace(m_zip, zip_uint64_t(index), source, 0) != 0) {
            zip_source_free(source);
            return fail(QStringLiteral("cannot replace an entry"));
        }
        const char* stored = zip_get_name(m_zip, zip_uint64_t(index), ZIP_FL_ENC_RAW);
        if (!stored || name != stored) {
            if (zip_file_rename(m_zip, zip_uint64_t(index), name.c_str(), ZIP_FL_ENC_GUESS) != 0)
                return fail(QStringLiteral("cannot rename an entry"));
        }
    } else {
        index = zip_file_add(m_zip, name.c_str(), source, ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(source);
            return fail(QStringLiteral("cannot add an entry"));
        }
    }
    if (zip_set_file_compression(m_zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) != 0)
        return fail(QStringLiteral("cannot set compression"));
    return true;
}

bool ZipArchive::remove(std::string_view name)
{
    if (!m_zip)
        return fail(QStringLiteral("cannot delete an entry"));
    for (int64_t index = find(name); index >= 0; index = find(name))
        if (zip_delete(m_zip, zip_uint64_t(index)) != 0)
            return fail(QStringLiteral("cannot delete an entry"));
    return true;
}

bool ZipArchive::rename(std::string_view from, const std::string& to)
{
    if (!usableName(to)) {
        m_error = QStringLiteral("invalid entry name");
        return false;
    }
    const int64_t source = find(from);
    if (source < 0)
        return fail(QStringLiteral("no entry to rename"));
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (i == source)
            continue;
        const char* other = zip_get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (other && equalsIgnoringAsciiCase(other, to) && zip_delete(m_zip, zip_uint64_t(i)) != 0)
            return fail(QStringLiteral("cannot delete an entry"));
    }
    const char* stored = zip_get_name(m_zip, zip_uint64_t(source), ZIP_FL_ENC_RAW);
    if (stored && to == stored)
        return true;
    if (zip_file_rename(m_zip, zip_uint64_t(source), to.c_str(), ZIP_FL_ENC_GUESS) != 0)
        return fail(QStringLiteral("cannot rename an entry"));
    return true;
}

bool ZipArchive::close()
{
    if (!m_zip)
        return fail(QStringLiteral("cannot write"));
    if (zip_close(m_zip) != 0) {
        m_error = QStringLiteral("cannot write '%1': %2").arg(m_path, zipError());
        discard();
        return false;
    }
    m_zip = nullptr;
    m_buffers.clear();
    return true;
}

void ZipArchive::discard()
{
    if (m_zip) {
        zip_discard(m_zip);
        m_zip = nullptr;
    }
    m_buffers.clear();
}

} // namespace lumidex
