#include "capture/RecordingIntoKeys.h"

bool ReadRecordingIntoKeys(RecordingReader& reader, RecordingKeys& keys) {
    if (!reader.ReadHeader()) {
        return false;
    }
    keys.Reset(reader.ChannelCount());
    RecordingRow row;
    while (reader.NextRow(row)) {
        keys.Add(row.values.data());  // every difference was range-checked by the reader
    }
    return reader.Error().empty();
}
