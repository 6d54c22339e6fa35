#include "media/MediaTypes.h"

#include <QCoreApplication>

namespace lumidex {

namespace {

using F = MediaField;

// Each class's fields in stored order, then the ones its constructor sets to " ".
// Function-local statics: an object may be built during another file's static initialisation.

const MediaLayout& filmLayout()
{
    static const MediaLayout layout{
        CFilm::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Released, F::Director,
         F::Actors, F::Description, F::Duration, F::Year},
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Released, F::Director,
         F::Actors, F::Description, F::Duration, F::Year},
    };
    return layout;
}

const MediaLayout& bookLayout()
{
    static const MediaLayout layout{
        CBook::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
         F::Isbn, F::Description, F::Format},
        {F::Title, F::Language, F::Genre, F::Comments, F::Format},
    };
    return layout;
}

const MediaLayout& gameLayout()
{
    static const MediaLayout layout{
        CGame::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
         F::Description, F::SystemRequirements},
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
         F::Description, F::SystemRequirements},
    };
    return layout;
}

const MediaLayout& generalLayout()
{
    static const MediaLayout layout{
        CGeneral::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::Description},
        {F::Title, F::Language, F::Genre, F::Comments, F::Description},
    };
    return layout;
}

const MediaLayout& multimediaLayout()
{
    static const MediaLayout layout{
        CMultimedia::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
         F::Description, F::SystemRequirements},
        {F::Title, F::Language, F::Genre, F::Comments, F::SystemRequirements},
    };
    return layout;
}

const MediaLayout& softwareLayout()
{
    static const MediaLayout layout{
        CSoftware::kTypeCode,
        {F::Title, F::Language, F::Genre, F::Comments, F::OriginalTitle, F::Year, F::Released,
         F::Description, F::SystemRequirements},
        {F::Title, F::Language, F::Genre, F::Comments, F::SystemRequirements},
    };
    return layout;
}

} // namespace

CFilm::CFilm() : CMediaObject(filmLayout()) {}
CBook::CBook() : CMediaObject(bookLayout()) {}
CGame::CGame() : CMediaObject(gameLayout()) {}
CGeneral::CGeneral() : CMediaObject(generalLayout()) {}
CMultimedia::CMultimedia() : CMediaObject(multimediaLayout()) {}
CSoftware::CSoftware() : CMediaObject(softwareLayout()) {}

std::unique_ptr<CMediaObject> CFilm::clone() const { return std::make_unique<CFilm>(*this); }
std::unique_ptr<CMediaObject> CBook::clone() const { return std::make_unique<CBook>(*this); }
std::unique_ptr<CMediaObject> CGame::clone() const { return std::make_unique<CGame>(*this); }
std::unique_ptr<CMediaObject> CGeneral::clone() const { return std::make_unique<CGeneral>(*this); }
std::unique_ptr<CMediaObject> CMultimedia::clone() const { return std::make_unique<CMultimedia>(*this); }
std::unique_ptr<CMediaObject> CSoftware::clone() const { return std::make_unique<CSoftware>(*this); }

void CGeneral::CopyFrom(const CMediaObject& source)
{
    CMediaObject::CopyFrom(source);
    setValue(MediaField::Language, " ");
    setValue(MediaField::Genre, " ");
}

QString mediaTypeName(int typeCode)
{
    switch (typeCode) {
    case CFilm::kTypeCode: return QCoreApplication::translate("Media", "Film");
    case CBook::kTypeCode: return QCoreApplication::translate("Media", "Book");
    case CGame::kTypeCode: return QCoreApplication::translate("Media", "Game");
    case CGeneral::kTypeCode: return QCoreApplication::translate("Media", "General type");
    case CMultimedia::kTypeCode: return QCoreApplication::translate("Media", "Multimedia");
    case CSoftware::kTypeCode: return QCoreApplication::translate("Media", "Software");
    default: return QCoreApplication::translate("Media", "undefined");
    }
}

} // namespace lumidex
