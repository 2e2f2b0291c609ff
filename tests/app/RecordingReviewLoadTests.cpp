// The review of a recording, natively and under ThreadSanitizer: a load's reports and its end,
// a refused file, a load replaced by another, and stopping a load whose read hangs without
// waiting for it.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/RecordingReview.h"
#include "tests/app/AwaitedResults.h"

namespace {

// A recording of rows lines of two channels; the header in UTF-8, which the reader takes for
// an ANSI code page it does not know.
std::string Recording(int rows) {
    std::string text = "\xE5\xBA\x8F\xE5\x8F\xB7,";  // the reader checks the field count only
    for (int c = 1; c <= 2; ++c) {
        for (int q = 0; q < 4; ++q) {
            text += std::to_string(c) + " q" + std::to_string(q) + ",";
        }
    }
    text += "\r\n";
    for (int r = 1; r <= rows; ++r) {
        text += std::to_string(r) + ",";
        for (int field = 0; field < 8; ++field) {
            text += std::to_string(r * 10 + field) + ",";
        }
        text += "\r\n";
    }
    return text;
}

class RecordingReviewLoadTest : public ::testing::Test {
  protected:
    ~RecordingReviewLoadTest() override {
        for (const std::filesystem::path& path : files_) {
            std::filesystem::remove(path);
        }
    }

    RecordingSource Saved(const std::string& name, const std::string& bytes) {
        files_.push_back(std::filesystem::temp_directory_path() /
                         ("palvex-review-" + std::to_string(::getpid()) + "-" + name));
        if (std::FILE* file = std::fopen(files_.back().c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return OpenRecordingSource(files_.back());
    }

    // Takes results as the window does until the load that runs has ended, checking its
    // progress on the way; reports of loads replaced or stopped are passed over.
    std::optional<RecordingLoadResult> UntilFinished(TouchSampleStore& target) {
        unsigned percent = 0;
        while (const std::optional<WindowResult> result = results.Next()) {
            if (const auto* progress = std::get_if<RecordingProgress>(&*result)) {
                if (const std::optional<unsigned> shown = review.Progress(*progress)) {
                    EXPECT_GE(*shown, percent);
                    percent = *shown;
                }
            } else if (const auto* read = std::get_if<RecordingRead>(&*result)) {
                if (std::optional<RecordingLoadResult> finished = review.Finish(*read, target)) {
                    return finished;
                }
            }
        }
        return std::nullopt;
    }

    AwaitedResults results;
    RecordingReview review{results.queue};
    TouchSampleStore store;

  private:
    std::vector<std::filesystem::path> files_;
};

TEST_F(RecordingReviewLoadTest, ALoadedRecordingIsHandedOverAndNamed) {
    review.Load(Saved("keys.csv", Recording(300)), "keys.csv");
    EXPECT_TRUE(review.Loading());
    EXPECT_EQ(review.LoadingName(), "keys.csv");
    const std::optional<RecordingLoadResult> result = UntilFinished(store);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, RecordingLoadResult::Outcome::Loaded) << result->reason;
    EXPECT_FALSE(review.Loading());
    EXPECT_EQ(review.ShownName(), "keys.csv");
    ASSERT_EQ(store.ChannelCount(), 2u);
    EXPECT_EQ(store.FrameCount(), 300u);
    EXPECT_EQ(store.Channel(1).Series(SampleQuantity::Noise).Last(), 3007);
    EXPECT_FALSE(review.Finish(RecordingRead{1}, store)) << "a load ends once";

    review.SetAside();
    EXPECT_EQ(review.ShownName(), "");
}

TEST_F(RecordingReviewLoadTest, ARefusedFileGivesItsReasonAndKeepsTheRecordingShown) {
    review.Load(Saved("keys.csv", Recording(3)), "keys.csv");
    ASSERT_TRUE(UntilFinished(store));
    TouchSampleStore other;
    review.Load(Saved("bad.csv", Recording(3) + "4,1,2,\r\n"), "bad.csv");
    const std::optional<RecordingLoadResult> result = UntilFinished(other);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, RecordingLoadResult::Outcome::Refused);
    EXPECT_EQ(result->reason.rfind("bad.csv, line 5:", 0), 0u) << result->reason;
    EXPECT_EQ(other.ChannelCount(), 0u);
    EXPECT_EQ(review.ShownName(), "keys.csv");

    review.Load(RecordingSource{}, "gone.csv");  // a file that could not be opened
    const std::optional<RecordingLoadResult> unopened = UntilFinished(other);
    ASSERT_TRUE(unopened);
    EXPECT_EQ(unopened->outcome, RecordingLoadResult::Outcome::Refused);
    EXPECT_EQ(unopened->reason, "gone.csv: cannot be opened");
}

TEST_F(RecordingReviewLoadTest, AReplacedLoadsReportsAreIgnored) {
    review.Load(Saved("first.csv", Recording(20000)), "first.csv");
    const std::optional<WindowResult> firstReport = results.Next();
    ASSERT_TRUE(firstReport && std::holds_alternative<RecordingProgress>(*firstReport));
    review.Load(Saved("second.csv", Recording(5)), "second.csv");
    EXPECT_FALSE(review.Progress(std::get<RecordingProgress>(*firstReport)));

    const std::optional<RecordingLoadResult> result = UntilFinished(store);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, RecordingLoadResult::Outcome::Loaded);
    EXPECT_EQ(store.FrameCount(), 5u);
    EXPECT_EQ(review.ShownName(), "second.csv");
}

TEST_F(RecordingReviewLoadTest, StoppingALoadWhoseReadHangsDoesNotWaitForIt) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    RecordingSource stalled;
    stalled.file.reset(::fdopen(pipeEnds[0], "rb"));
    ASSERT_NE(stalled.file, nullptr);
    review.Load(std::move(stalled), "share.csv");
    ASSERT_TRUE(results.Next<RecordingProgress>());  // the thread runs, and its read waits
    review.Stop();  // a wait here would hang the test: the read never returns by itself
    EXPECT_FALSE(review.Loading());
    EXPECT_EQ(review.LoadingName(), "");
    // The read returns at last; the stopped load reports no end, and its thread goes.
    const std::string header = Recording(0);
    ASSERT_EQ(::write(pipeEnds[1], header.data(), header.size()),
              static_cast<ssize_t>(header.size()));
    ::close(pipeEnds[1]);
    review.Load(Saved("next.csv", Recording(2)), "next.csv");
    ASSERT_TRUE(UntilFinished(store));
    EXPECT_EQ(store.FrameCount(), 2u);
}

}  // namespace
