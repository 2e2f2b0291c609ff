#include "device/recording/RecordingHeader.h"

#include "device/recording/RecordingFormat.h"
#include "device/recording/TextEncoding.h"

std::string RecordingHeaderBytes(const std::vector<std::uint32_t>& channels) {
    return ToActiveCodePage(RecordingHeaderText(RecordingColumnTitles(channels)));
}
