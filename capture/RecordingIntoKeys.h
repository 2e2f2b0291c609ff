#pragma once
// A file that the window exported, read into the keys that judge it.

#include "evaluation/KeyFigures.h"
#include "device/recording/RecordingReader.h"

// Reads the header and every row of reader into keys. False with reader.Error() set when the
// file is not a Palvex export or a line is malformed.
bool ReadRecordingIntoKeys(RecordingReader& reader, RecordingKeys& keys);
