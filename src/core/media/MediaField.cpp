#include "media/MediaField.h"

namespace lumidex {

const char* mediaFieldName(MediaField field)
{
    switch (field) {
    case MediaField::Title: return "Title";
    case MediaField::Language: return "Language";
    case MediaField::Genre: return "Genre";
    case MediaField::Comments: return "Comments";
    case MediaField::OriginalTitle: return "Original title";
    case MediaField::Released: return "Released";
    case MediaField::Director: return "Director";
    case MediaField::Actors: return "Actors";
    case MediaField::Description: return "Description";
    case MediaField::Duration: return "Duration";
    case MediaField::Year: return "Year";
    case MediaField::Isbn: return "ISBN";
    case MediaField::Format: return "Format";
    case MediaField::SystemRequirements: return "System requirements";
    }
    return "";
}

} // namespace lumidex
