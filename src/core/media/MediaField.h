#pragma once

namespace lumidex {

// The text fields a media object can carry. Which of them a class has, and in which order they
// are stored, is the class's layout (see CMediaObject).
enum class MediaField {
    Title,
    Language,
    Genre,
    Comments,
    OriginalTitle,
    Released,
    Director,
    Actors,
    Description,
    Duration,
    Year,
    Isbn,
    Format,
    SystemRequirements,
};

// English name of a field, fixed in every language (the dump command uses it as a JSON key).
const char* mediaFieldName(MediaField field);

} // namespace lumidex
