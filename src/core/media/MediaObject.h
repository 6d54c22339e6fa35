#pragma once

#include "media/MediaField.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumidex {

class ArchiveReader;
class ArchiveWriter;

// What a media class is made of: its type code, its text fields in the order they are stored
// (Title, Language, Genre, Comments first) and the fields its constructor sets to " " (all
// others start empty). Each class owns one static layout; objects only point to it.
struct MediaLayout {
    int typeCode = 0;
    std::vector<MediaField> fields;
    std::vector<MediaField> blankAtStart;
};

// A typed media item: film, book, game, general, multimedia or software (the subclasses), or a
// base object with only the common four fields, for a stored record whose type code is unknown.
// The type code is never stored: the record names it and the loader creates the class from it.
class CMediaObject {
public:
    CMediaObject();
    virtual ~CMediaObject();

    int typeCode() const { return m_layout->typeCode; }
    const std::vector<MediaField>& fields() const { return m_layout->fields; }
    bool hasField(MediaField field) const { return indexOf(field) >= 0; }
    // Empty for a field the class does not have.
    const std::string& value(MediaField field) const;
    // Ignored for a field the class does not have: it could never be stored.
    void setValue(MediaField field, std::string text);

    // Every field of the layout as a string, in layout order; nothing else.
    void Serialize(ArchiveWriter& out) const;
    void Serialize(ArchiveReader& in);

    // True when any word of any field matches the wildcard pattern. `flag` is accepted for the
    // search's calling convention and not used: the caller folds case itself.
    bool Match(std::string_view pattern, int flag) const;

    // Takes the text fields of `source`, which should be of the same class. With another class
    // only the fields both have are copied; the others keep their values.
    virtual void CopyFrom(const CMediaObject& source);
    virtual std::unique_ptr<CMediaObject> clone() const;

    // Codes 1..6 give their classes with initial values; any other code gives a base object.
    static std::unique_ptr<CMediaObject> create(int typeCode);

protected:
    explicit CMediaObject(const MediaLayout& layout);
    // Copying is for clone() only, so that an object is never sliced.
    CMediaObject(const CMediaObject&) = default;
    CMediaObject& operator=(const CMediaObject&) = default;

private:
    int indexOf(MediaField field) const;

    const MediaLayout* m_layout;
    std::vector<std::string> m_values; // parallel to m_layout->fields
};

} // namespace lumidex
