#pragma once

#include "media/MediaObject.h"

#include <QString>

namespace lumidex {

// The six media classes. Each one is its layout (see MediaTypes.cpp) and nothing more, except
// CGeneral, whose copy drops language and genre.

class CFilm : public CMediaObject {
public:
    static constexpr int kTypeCode = 1;
    CFilm();
    std::unique_ptr<CMediaObject> clone() const override;
};

class CBook : public CMediaObject {
public:
    static constexpr int kTypeCode = 2;
    CBook();
    std::unique_ptr<CMediaObject> clone() const override;
};

class CGame : public CMediaObject {
public:
    static constexpr int kTypeCode = 3;
    CGame();
    std::unique_ptr<CMediaObject> clone() const override;
};

class CGeneral : public CMediaObject {
public:
    static constexpr int kTypeCode = 4;
    CGeneral();
    std::unique_ptr<CMediaObject> clone() const override;
    // A general item shows no language or genre, so a copy never carries them over.
    void CopyFrom(const CMediaObject& source) override;
};

class CMultimedia : public CMediaObject {
public:
    static constexpr int kTypeCode = 5;
    CMultimedia();
    std::unique_ptr<CMediaObject> clone() const override;
};

class CSoftware : public CMediaObject {
public:
    static constexpr int kTypeCode = 6;
    CSoftware();
    std::unique_ptr<CMediaObject> clone() const override;
};

constexpr bool isMediaTypeCode(int code)
{
    return code >= CFilm::kTypeCode && code <= CSoftware::kTypeCode;
}

// "undefined" for 0 and any unknown code, else "Film", "Book", ... (translatable).
QString mediaTypeName(int typeCode);

} // namespace lumidex
