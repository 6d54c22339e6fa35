#pragma once

#include <QByteArray>

namespace lumidex::test {

// The smallest MP3 file a scan reads in full: one MPEG-1 layer III frame header (128 kbit/s,
// 44100 Hz, joint stereo), an empty frame body and an ID3v1 tag with the title "Title", the
// artist "Artist" and the genre Rock.
QByteArray taggedMp3();

} // namespace lumidex::test
