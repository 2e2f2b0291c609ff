// The window's key evaluation: the figures of the store equal palvex-capture's for the same
// frames, the newest request wins, and a repeating request follows the recording as it grows.

#include "app/KeyEvaluation.h"
#include "evaluation/SummaryColumns.h"
#include "tests/app/AwaitedResults.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kJitter[] = {0, 2, -1, 3, -3, 1, -2};

// Channel 0 rests with the chip's jitter and is touched by 80 counts for 20 of every 100
// frames; channel 1 only rests. Written into the store as the adapter's thread writes frames,
// and into palvex-capture's keys as it reads them from the export.
class KeyEvaluationTest : public ::testing::Test {
  protected:
    KeyEvaluationTest() {
        for (std::uint32_t channel = 0; channel < 2; ++channel) {
            store_.AppendChannel(ChannelSamples(channel));
        }
        keys_.Reset(2);
    }

    void AddFrames(int count) {
        auto guard = store_.Lock();
        for (int i = 0; i < count; ++i, ++frame_) {
            std::vector<std::int32_t> values;
            for (std::uint32_t channel = 0; channel < 2; ++channel) {
                const int touch = channel == 0 && frame_ % 100 >= 50 && frame_ % 100 < 70 ? 80 : 0;
                const auto baseline = static_cast<std::uint16_t>(5000 + channel + frame_ % 3);
                const auto filtered =
                    static_cast<std::uint16_t>(baseline - touch - kJitter[frame_ % 7]);
                store_.Channel(channel).AppendFrameValues(baseline, filtered, 2);
                values.insert(values.end(), {baseline, filtered, baseline - filtered, 2});
            }
            store_.CountFrame();
            keys_.Add(values.data());
        }
    }

    // The next figures that answer the newest request; older ones are passed over.
    KeysEvaluated NextCurrent() {
        for (int tries = 0; tries < 50; ++tries) {
            const std::optional<KeysEvaluated> evaluated = results_.Next<KeysEvaluated>();
            if (!evaluated) {
                break;
            }
            if (evaluation_.Current(*evaluated)) {
                return *evaluated;
            }
        }
        ADD_FAILURE() << "no figures for the newest request";
        return {};
    }

    TouchSampleStore store_;
    RecordingKeys keys_;
    int frame_ = 0;
    AwaitedResults results_;
    KeyEvaluation evaluation_{results_.queue};
};

// Every cell, as the summary writes it, and the figures behind them to the last bit.
void ExpectSameFigures(const std::vector<KeyFigures>& window,
                       const std::vector<KeyFigures>& capture) {
    ASSERT_EQ(window.size(), capture.size());
    for (std::size_t c = 0; c < window.size(); ++c) {
        for (const SummaryColumn& column : kSummaryColumns) {
            EXPECT_EQ(CellsOf(window[c]).*column.cell, CellsOf(capture[c]).*column.cell)
                << "channel " << c << ", " << column.name;
        }
        EXPECT_EQ(window[c].baselineMean, capture[c].baselineMean);
        EXPECT_EQ(window[c].touchDelta, capture[c].touchDelta);
        EXPECT_EQ(window[c].snr, capture[c].snr);
    }
}

TEST_F(KeyEvaluationTest, FiguresOfTheStoreAreThoseOfTheSameFramesReadByTheCapture) {
    AddFrames(40000);  // read from the store in several pieces
    for (const JudgeSettings& settings :
         {JudgeSettings{}, JudgeSettings{std::nullopt, 30, NoiseStatistic::Rms, 40.0}}) {
        evaluation_.Evaluate(&store_, settings);
        const KeysEvaluated evaluated = NextCurrent();
        EXPECT_EQ(evaluated.frames, 40000u);
        ExpectSameFigures(evaluated.figures, JudgeRecording(keys_, settings));
    }
    const KeysEvaluated normal = [&] {
        evaluation_.Evaluate(&store_, {});
        return NextCurrent();
    }();
    EXPECT_EQ(normal.figures[0].verdict, KeyVerdict::Pass);
    EXPECT_EQ(normal.figures[0].runs.touches.size(), 400u);
    EXPECT_EQ(normal.figures[1].verdict, KeyVerdict::NoTouch);

    // A shortest touch longer than every touch leaves channel 0 without one.
    evaluation_.Evaluate(&store_, {std::nullopt, 30, NoiseStatistic::PeakToPeak, 5.0});
    EXPECT_EQ(NextCurrent().figures[0].verdict, KeyVerdict::NoTouch);

    // Cleared, the channels stay without data; without a store there are no rows.
    store_.ClearSamples();
    evaluation_.Evaluate(&store_, {});
    const KeysEvaluated cleared = NextCurrent();
    ASSERT_EQ(cleared.figures.size(), 2u);
    EXPECT_EQ(cleared.figures[1].verdict, KeyVerdict::NoData);
    evaluation_.Evaluate(nullptr, {});
    EXPECT_TRUE(NextCurrent().figures.empty());
}

TEST_F(KeyEvaluationTest, OnlyTheNewestRequestIsCurrent) {
    AddFrames(5000);
    for (double mark = 1.0; mark <= 20.0; mark += 1.0) {
        evaluation_.Evaluate(&store_, {std::nullopt, 5, NoiseStatistic::PeakToPeak, mark});
    }
    const KeysEvaluated newest = NextCurrent();
    EXPECT_EQ(newest.settings.minSnr, 20.0);
    EXPECT_EQ(newest.figures.size(), 2u);
}

TEST_F(KeyEvaluationTest, ARepeatingRequestFollowsTheGrowingRecording) {
    AddFrames(200);
    evaluation_.Evaluate(&store_, {}, true);
    EXPECT_EQ(NextCurrent().frames, 200u);
    AddFrames(300);
    // A pass may have read the store before the frames came; a later one has them.
    std::uint64_t frames = 0;
    for (int pass = 0; pass < 3 && frames != 500; ++pass) {
        frames = NextCurrent().frames;
    }
    EXPECT_EQ(frames, 500u);

    // A single request ends the repeating one; it reads the store as it is then.
    AddFrames(100);
    evaluation_.Evaluate(&store_, {});
    EXPECT_EQ(NextCurrent().frames, 600u);
}

}  // namespace
