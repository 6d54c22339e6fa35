#include "media/MediaObject.h"

#include "format/ArchiveReader.h"
#include "format/ArchiveWriter.h"
#include "media/MediaTypes.h"
#include "media/WildcardMatch.h"

namespace lumidex {

namespace {

const MediaLayout& baseLayout()
{
    static const MediaLayout layout{
        0,
        {MediaField::Title, MediaField::Language, MediaField::Genre, MediaField::Comments},
        {MediaField::Title, MediaField::Language, MediaField::Genre, MediaField::Comments},
    };
    return layout;
}

} // namespace

CMediaObject::CMediaObject() : CMediaObject(baseLayout()) {}

CMediaObject::CMediaObject(const MediaLayout& layout)
    : m_layout(&layout), m_values(layout.fields.size())
{
    for (MediaField field : layout.blankAtStart)
        setValue(field, " ");
}

CMediaObject::~CMediaObject() = default;

int CMediaObject::indexOf(MediaField field) const
{
    const auto& fields = m_layout->fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] == field)
            return int(i);
    }
    return -1;
}

const std::string& CMediaObject::value(MediaField field) const
{
    static const std::string kEmpty;
    const int i = indexOf(field);
    return i < 0 ? kEmpty : m_values[size_t(i)];
}

void CMediaObject::setValue(MediaField field, std::string text)
{
    const int i = indexOf(field);
    if (i >= 0)
        m_values[size_t(i)] = std::move(text);
}

void CMediaObject::Serialize(ArchiveWriter& out) const
{
    for (const std::string& text : m_values)
        out.writeString(text);
}

void CMediaObject::Serialize(ArchiveReader& in)
{
    for (std::string& text : m_values)
        text = in.readString();
}

bool CMediaObject::Match(std::string_view pattern, int /*flag*/) const
{
    for (const std::string& text : m_values) {
        if (anyWordMatches(text, pattern))
            return true;
    }
    return false;
}

void CMediaObject::CopyFrom(const CMediaObject& source)
{
    if (&source == this)
        return;
    for (MediaField field : fields()) {
        if (source.hasField(field))
            setValue(field, source.value(field));
    }
}

std::unique_ptr<CMediaObject> CMediaObject::clone() const
{
    return std::unique_ptr<CMediaObject>(new CMediaObject(*this));
}

std::unique_ptr<CMediaObject> CMediaObject::create(int typeCode)
{
    switch (typeCode) {
    case CFilm::kTypeCode: return std::make_unique<CFilm>();
    case CBook::kTypeCode: return std::make_unique<CBook>();
    case CGame::kTypeCode: return std::make_unique<CGame>();
    case CGeneral::kTypeCode: return std::make_unique<CGeneral>();
    case CMultimedia::kTypeCode: return std::make_unique<CMultimedia>();
    case CSoftware::kTypeCode: return std::make_unique<CSoftware>();
    default: return std::make_unique<CMediaObject>();
    }
}

} // namespace lumidex
