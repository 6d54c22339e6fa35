#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace lumidex {

// Catalog text is kept as the bytes that were stored. Valid UTF-8 is shown as UTF-8; anything
// else is text from the old program and is shown in its legacy code page.
enum class LegacyCodePage { Windows1252, Windows1251 };

bool isValidUtf8(std::string_view bytes);
QString decodeCatalogText(std::string_view bytes, LegacyCodePage legacy = LegacyCodePage::Windows1252);
// Text typed or scanned on this system is stored as UTF-8.
std::string encodeCatalogText(const QString& text);

} // namespace lumidex
