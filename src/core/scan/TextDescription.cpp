#include "scan/TextDescription.h"

#include <QFile>

namespace lumidex {

namespace {

constexpr int EndOfText = -1;

// Text-mode reading over a QFile in fixed chunks. `position` counts the raw bytes taken from the
// file (dropped CRs included), which is what the end test compares with the file's length.
class TextModeReader {
public:
    explicit TextModeReader(QFile& file) : m_file(file) { m_chunk.resize(ChunkSize); }

    int64_t position() const { return m_position; }
    bool endSignalled() const { return m_end; }

    int get()
    {
        if (m_end)
            return EndOfText;
        const int c = rawGet();
        if (c < 0 || c == 0x1A) {
            m_end = true;
            return EndOfText;
        }
        if (c == '\r') {
            // Only a CR directly before an LF is dropped; peeking past the end signals nothing.
            const int next = rawPeek();
            if (next == '\n') {
                rawGet();
                return '\n';
            }
        }
        return c;
    }

private:
    static constexpr qsizetype ChunkSize = 64 * 1024;

    bool fill()
    {
        if (m_used < m_available)
            return true;
        if (m_failed)
            return false;
        const qint64 n = m_file.read(m_chunk.data(), ChunkSize);
        if (n <= 0) {
            m_failed = true; // end of file or a read error: either way nothing more comes
            return false;
        }
        m_available = n;
        m_used = 0;
        return true;
    }

    int rawGet()
    {
        if (!fill())
            return -1;
        ++m_position;
        return static_cast<unsigned char>(m_chunk[m_used++]);
    }

    int rawPeek()
    {
        if (!fill())
            return -1;
        return static_cast<unsigned char>(m_chunk[m_used]);
    }

    QFile& m_file;
    QByteArray m_chunk;
    qint64 m_available = 0;
    qint64 m_used = 0;
    int64_t m_position = 0;
    bool m_end = false;
    bool m_failed = false;
};

} // namespace

std::vector<std::string> ReadTextDescription(const QString& path)
{
    std::vector<std::string> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const int64_t length = file.size();
    TextModeReader in(file);

    bool readAny = false;
    bool lastEndedInLineFeed = false;
    for (;;) {
        if (in.position() == length && !in.endSignalled()) {
            if (!readAny || !lastEndedInLineFeed)
                lines.emplace_back("\n");
            break;
        }
        std::string piece;
        while (piece.size() < DescriptionPieceSize) {
            const int c = in.get();
            if (c == EndOfText)
                break;
            piece.push_back(char(c));
            if (c == '\n')
                break;
        }
        if (piece.empty())
            break;
        readAny = true;
        lastEndedInLineFeed = piece.back() == '\n';
        if (!lastEndedInLineFeed)
            piece.push_back('\n');
        lines.push_back(std::move(piece));
    }
    return lines;
}

} // namespace lumidex
