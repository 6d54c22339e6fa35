#include "media/MediaInfoText.h"

#include "media/MediaCategory.h"
#include "media/MediaTypes.h"

#include <QCoreApplication>

#include <initializer_list>

namespace lumidex {

namespace {

// Replaces each "%s" of `format` in turn by the next value. One pass, so a "%" inside a value
// is left alone; translations keep the "%s" placeholders of the English text.
QString fill(const QString& format, std::initializer_list<QString> values)
{
    QString out;
    auto next = values.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u's'
            && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

QString cell(const MediaRow& row, size_t column, LegacyCodePage legacy)
{
    return column < row.cells.size() ? decodeCatalogText(row.cells[column], legacy) : QString();
}

} // namespace

QString InfoText(const MediaRow& row, LegacyCodePage legacy)
{
    const CMediaObject* media = row.record.media();
    const auto text = [&](MediaField field) { return decodeCatalogText(media->value(field), legacy); };
    // Multi-line fields keep CR LF in the catalog; a tooltip wants LF.
    const auto lines = [&](MediaField field) {
        return text(field).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    };
    using F = MediaField;
    const int code = media ? media->typeCode() : 0;
    const QString type = mediaTypeName(code);

    switch (code) {
    case CFilm::kTypeCode:
        return fill(QCoreApplication::translate("Media",
                        "Type: %s\nOriginal title: %s\nGenre: %s\nDescription: %s\nComments: %s"),
            {type, text(F::OriginalTitle), text(F::Genre), lines(F::Description), lines(F::Comments)});
    case CBook::kTypeCode:
        return fill(QCoreApplication::translate("Media",
                        "Type: %s\nISBN: %s\nGenre: %s\nDescription: %s\nComments: %s"),
            {type, text(F::Isbn), text(F::Genre), lines(F::Description), lines(F::Comments)});
    case CGame::kTypeCode:
        return fill(QCoreApplication::translate("Media",
                        "Type: %s\nGenre: %s\nDescription: %s\nSystem requirements: %s\nComments: %s"),
            {type, text(F::Genre), lines(F::Description), lines(F::SystemRequirements),
                lines(F::Comments)});
    case CGeneral::kTypeCode:
        return fill(QCoreApplication::translate("Media", "Type: %s\nDescription: %s\nComments: %s"),
            {type, lines(F::Description), lines(F::Comments)});
    case CMultimedia::kTypeCode:
    case CSoftware::kTypeCode:
        return fill(QCoreApplication::translate("Media",
                        "Type: %s\nDescription: %s\nSystem requirements: %s\nComments: %s"),
            {type, lines(F::Description), lines(F::SystemRequirements), lines(F::Comments)});
    default:
        // Old-format entry, or a base object loaded for an unknown type code.
        return fill(QCoreApplication::translate("Media", "Type: %s\nLanguage: %s\nGenre: %s\nComments:\n%s"),
            {type, cell(row, 1, legacy), cell(row, 2, legacy), media ? lines(F::Comments) : QString()});
    }
}

} // namespace lumidex
