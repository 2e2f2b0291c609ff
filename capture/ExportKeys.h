#pragma once
// A file that the window exported, read into the keys that judge it.

#include "capture/KeyFigures.h"
#include "device/ExportReader.h"

// Reads the header and every row of reader into keys. False with reader.Error() set when the
// file is not a Palvex export or a line is malformed.
bool ReadExportIntoKeys(ExportReader& reader, RecordingKeys& keys);
