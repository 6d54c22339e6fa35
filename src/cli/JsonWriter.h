#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lumidex::cli {

// A streaming JSON writer, so that dumping a catalog of millions of items needs no document in memory.
// Commas and nesting are tracked here; callers only say what comes next.
class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : m_out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    // Catalog text: its bytes when they are valid UTF-8, else decoded from the legacy code page.
    void value(std::string_view catalogText);
    void value(const char* text) { value(std::string_view(text)); }
    void value(int64_t number);
    void value(int32_t number) { value(int64_t(number)); }
    void value(bool flag);
    void null();

    void field(std::string_view name, std::string_view text) { key(name); value(text); }
    void field(std::string_view name, const char* text) { key(name); value(text); }
    void field(std::string_view name, const std::string& text) { key(name); value(std::string_view(text)); }
    void field(std::string_view name, int64_t number) { key(name); value(number); }
    void field(std::string_view name, int32_t number) { key(name); value(number); }
    void field(std::string_view name, bool flag) { key(name); value(flag); }

    void newline() { std::fputc('\n', m_out); }

private:
    void separate();
    void writeEscaped(std::string_view utf8);

    std::FILE* m_out;
    std::vector<bool> m_first; // per open container: nothing written in it yet
    bool m_afterKey = false;
};

} // namespace lumidex::cli
