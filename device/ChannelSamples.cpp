#include "device/ChannelSamples.h"

ChannelSamples::ChannelSamples(std::uint32_t channelNumber) : channel(channelNumber) {
    ResetToLeadingZeros();
}

void ChannelSamples::AppendFrameValues(std::uint16_t baseline, std::uint16_t filtered,
                                       std::uint16_t noise) {
    Series(SampleQuantity::Baseline).Append(baseline);
    Series(SampleQuantity::Filtered).Append(filtered);
    Series(SampleQuantity::Difference)
        .Append(static_cast<std::int32_t>(baseline) - static_cast<std::int32_t>(filtered));
    Series(SampleQuantity::Noise).Append(noise);
}

void ChannelSamples::ResetToLeadingZeros() {
    for (SampleSeries& series : series_) {
        series.Clear();
        for (std::uint32_t i = 0; i < kLeadingZeroSamples; ++i) {
            series.Append(0);
        }
    }
}
