#include "cli/CatalogJson.h"

#include "cli/JsonWriter.h"
#include "media/MediaField.h"
#include "media/MediaObject.h"

namespace lumidex::cli {

namespace {

void writeEntries(JsonWriter& json, const std::optional<std::vector<CFileObject>>& records)
{
    json.key("entries");
    if (!records) {
        json.null();
        return;
    }
    json.beginArray();
    for (const CFileObject& record : *records) {
        json.beginObject();
        json.field("key", record.key);
        json.field("name", record.name);
        json.key("lines");
        json.beginArray();
        for (const std::string& line : record.lines)
            json.value(std::string_view(line));
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeDisc(JsonWriter& json, const Disc& disc, const std::optional<std::vector<CFileObject>>* entries)
{
    json.beginObject();
    json.field("name", disc.name);
    json.field("comment", disc.comment);
    json.field("size", disc.size);
    json.field("created", disc.created);
    json.key("tree");
    json.beginArray();
    const DiscTree& tree = disc.tree;
    for (int32_t i = 0; i < tree.size(); ++i) {
        json.beginObject();
        json.field("level", tree.level(i));
        json.field("text", tree.text(i));
        json.field("image", tree.image(i));
        json.field("selectedImage", tree.selectedImage(i));
        json.field("children", tree.childCount(i));
        json.endObject();
    }
    json.endArray();
    json.key("records");
    json.beginArray();
    for (const FileInfoRecord& r : disc.records) {
        json.beginObject();
        json.field("level", r.level);
        json.field("index", r.index);
        json.field("comment", r.comment);
        json.field("size", r.size);
        json.field("created", r.created);
        json.field("folder", r.folder);
        json.endObject();
    }
    json.endArray();
    if (entries)
        writeEntries(json, *entries);
    json.endObject();
}

void writeMediaRow(JsonWriter& json, const MediaRow& row)
{
    json.beginObject();
    json.key("cells");
    json.beginArray();
    for (const auto& cell : row.cells)
        json.value(std::string_view(cell));
    json.endArray();
    const CCatOtherItemData& record = row.record;
    json.field("status", record.status());
    json.field("type", record.typeCode());
    json.field("cover", record.coverEntryName());
    json.key("object");
    if (const CMediaObject* object = record.media()) {
        json.beginObject();
        for (const MediaField f : object->fields())
            json.field(mediaFieldName(f), object->value(f));
        json.endObject();
    } else {
        json.null();
    }
    json.endObject();
}

void writeMediaCategory(JsonWriter& json, const MediaCategory& media)
{
    json.beginObject();
    json.field("name", media.name);
    json.field("kind", "media");
    json.key("tabs");
    json.beginArray();
    for (const MediaTab& tab : media.tabs) {
        json.beginObject();
        json.field("caption", tab.caption);
        json.key("columns");
        json.beginArray();
        for (const MediaColumn& column : tab.columns) {
            json.beginObject();
            json.field("format", column.format);
            json.field("width", column.width);
            json.field("heading", column.heading);
            json.endObject();
        }
        json.endArray();
        json.key("rows");
        json.beginArray();
        for (const MediaRow& row : tab.rows)
            writeMediaRow(json, row);
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

void writeDebtor(JsonWriter& json, const Debtor& debtor)
{
    json.beginObject();
    json.field("name", debtor.name);
    json.field("telephone", debtor.telephone);
    json.field("info", debtor.info);
    json.field("added", debtor.added);
    json.field("lastChanged", debtor.lastChanged);
    json.field("email", debtor.email);
    json.key("items");
    json.beginArray();
    for (const LentItem& item : debtor.items) {
        json.beginObject();
        json.field("title", item.title);
        json.field("category", item.category);
        json.endObject();
    }
    json.endArray();
    json.field("returnDateSet", debtor.returnDateSet);
    json.field("day", debtor.day);
    json.field("month", debtor.month);
    json.field("year", debtor.year);
    json.endObject();
}

} // namespace

void writeCatalogJson(std::FILE* out, const Catalog& catalog, const EntryReader& entries)
{
    JsonWriter json(out);
    json.beginObject();
    json.field("version", catalog.version);
    json.field("icons", int32_t(catalog.icons.count()));
    json.key("categories");
    json.beginArray();
    for (size_t c = 0; c < catalog.filesCategories.size(); ++c) {
        const FilesCategory& category = catalog.filesCategories[c];
        json.beginObject();
        json.field("name", category.name);
        json.field("kind", "files");
        json.key("discs");
        json.beginArray();
        for (size_t d = 0; d < category.discs.size(); ++d) {
            if (entries) {
                const auto records = entries(int(c), int(d));
                writeDisc(json, category.discs[d], &records);
            } else {
                writeDisc(json, category.discs[d], nullptr);
            }
        }
        json.endArray();
        json.endObject();
    }
    if (catalog.media)
        writeMediaCategory(json, *catalog.media);
    json.endArray();
    json.key("debtors");
    json.beginArray();
    for (const Debtor& debtor : catalog.debtors)
        writeDebtor(json, debtor);
    json.endArray();
    json.endObject();
    json.newline();
}

} // namespace lumidex::cli
