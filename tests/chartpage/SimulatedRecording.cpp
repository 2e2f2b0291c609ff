#include "SimulatedRecording.h"

#include "device/store/FrameDecoding.h"

SimulatedRecording::SimulatedRecording(TouchSampleStore& store, int channels, std::uint32_t seed)
    : store_(store), chip_(channels, -1, seed) {
    const ChipFrame layout = chip_.NextFrame();
    DecodeChannelLayout(layout.data(), store_, channelCount_);
}

void SimulatedRecording::Record(std::uint32_t frames) {
    for (std::uint32_t f = 0; f < frames; ++f) {
        const ChipFrame frame = chip_.NextFrame();
        DecodeSamples(frame.data(), channelCount_, store_);
    }
}
