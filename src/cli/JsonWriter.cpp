#include "cli/JsonWriter.h"

#include "format/TextCodec.h"

namespace lumidex::cli {

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back())
            std::fputc(',', m_out);
        m_first.back() = false;
    }
}

void JsonWriter::beginObject()
{
    separate();
    std::fputc('{', m_out);
    m_first.push_back(true);
}

void JsonWriter::endObject()
{
    m_first.pop_back();
    std::fputc('}', m_out);
}

void JsonWriter::beginArray()
{
    separate();
    std::fputc('[', m_out);
    m_first.push_back(true);
}

void JsonWriter::endArray()
{
    m_first.pop_back();
    std::fputc(']', m_out);
}

void JsonWriter::key(std::string_view name)
{
    separate();
    writeEscaped(name);
    std::fputc(':', m_out);
    m_afterKey = true;
}

void JsonWriter::value(std::string_view catalogText)
{
    separate();
    if (isValidUtf8(catalogText))
        writeEscaped(catalogText);
    else
        writeEscaped(decodeCatalogText(catalogText).toStdString());
}

void JsonWriter::value(int64_t number)
{
    separate();
    std::fprintf(m_out, "%lld", static_cast<long long>(number));
}

void JsonWriter::value(bool flag)
{
    separate();
    std::fputs(flag ? "true" : "false", m_out);
}

void JsonWriter::null()
{
    separate();
    std::fputs("null", m_out);
}

void JsonWriter::writeEscaped(std::string_view utf8)
{
    std::fputc('"', m_out);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': std::fputs("\\\"", m_out); break;
        case '\\': std::fputs("\\\\", m_out); break;
        case '\n': std::fputs("\\n", m_out); break;
        case '\r': std::fputs("\\r", m_out); break;
        case '\t': std::fputs("\\t", m_out); break;
        default:
            if (c < 0x20)
                std::fprintf(m_out, "\\u%04x", c);
            else
                std::fputc(ch, m_out);
        }
    }
    std::fputc('"', m_out);
}

} // namespace lumidex::cli
