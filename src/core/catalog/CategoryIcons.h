#pragma once

#include <QImage>
#include <QString>

namespace lumidex {

// The built-in icons of the default categories, drawn at the category icon size (32 x 32).
enum class BuiltInIcon { Software, Music, Media };
QImage builtInCategoryIcon(BuiltInIcon which);

// A category icon from an image file (.png, .ico, .svg, .jpg, ...), scaled to 32 x 32.
// A null image when the file cannot be read.
QImage categoryIconFromFile(const QString& path);

} // namespace lumidex
