// What the "按键评估" page takes from its boxes and shows of a channel's figures.

#include "app/EvaluationRows.h"
#include "app/EvaluationSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(EvaluationSettings, TheBoxesTakeWhatTheCommandLineTakes) {
    const struct {
        const wchar_t* text;
        std::optional<double> passMark;
        std::optional<std::uint32_t> minTouchFrames;
    } cases[] = {
        {L"5", 5.0, 5u},
        {L" 12 ", 12.0, 12u},
        {L"4.5", 4.5, std::nullopt},
        {L"0", 0.0, std::nullopt},
        {L"4294967295", 4294967295.0, 4294967295u},
        {L"4294967296", 4294967296.0, std::nullopt},
        {L"-1", std::nullopt, std::nullopt},
        {L"", std::nullopt, std::nullopt},
        {L"1e3", std::nullopt, std::nullopt},
        {L"inf", std::nullopt, std::nullopt},
        {L"5x", std::nullopt, std::nullopt},
        {L"\xFF15", std::nullopt, std::nullopt},  // a full-width 5
    };
    for (const auto& c : cases) {
        const Checked<double> mark = CheckPassMark(c.text);
        EXPECT_EQ(mark.value, c.passMark) << "pass mark \"" << c.text << "\"";
        EXPECT_EQ(mark.refusal.empty(), c.passMark.has_value());
        const Checked<std::uint32_t> frames = CheckMinTouchFrames(c.text);
        EXPECT_EQ(frames.value, c.minTouchFrames) << "shortest touch \"" << c.text << "\"";
        EXPECT_EQ(frames.refusal.empty(), c.minTouchFrames.has_value());
    }
}

// A key resting at -3..3 about 1 and touched three times by about 100, judged as the page judges.
KeyFigures Judged(bool touched) {
    RecordingKeys keys;
    keys.Reset(1);
    const int jitter[] = {0, 2, -1, 3, -3, 1, -2};
    for (int frame = 0; frame < 700; ++frame) {
        const int touch = touched && frame % 200 >= 100 && frame % 200 < 130 ? 100 : 0;
        const std::int32_t values[] = {4000, 0, 1 + jitter[frame % 7] + touch, 0};
        keys.Add(values);
    }
    return JudgeKey(keys.Read(0), JudgeSettings{});
}

TEST(EvaluationRows, CellsAsTheSummaryPrintsThemWithTheVerdictInChinese) {
    ASSERT_EQ(EvaluationTitle(kEvaluationColumns[VerdictColumn()]), "结论");
    const KeyFigures pass = Judged(true);
    const std::vector<std::string> cells = EvaluationCells(pass);
    const SummaryCells summary = CellsOf(pass);
    for (std::size_t c = 0; c < kEvaluationColumns.size(); ++c) {
        EXPECT_EQ(cells[c], c == VerdictColumn() ? "合格" : summary.*kEvaluationColumns[c].cell);
    }
    const std::vector<std::string> quiet = EvaluationCells(Judged(false));
    EXPECT_EQ(quiet[VerdictColumn()], "未触摸");
    EXPECT_EQ(quiet[5], "-");  // no touch, no delta
}

TEST(EvaluationRows, LevelsAreTheQuietBandAndWithATouchTheFingerThreshold) {
    const KeyFigures pass = Judged(true);
    EXPECT_EQ(DifferenceLevels(pass),
              (std::vector<double>{-2.0, 4.0, pass.runs.quiet.mean + pass.thresholds.finger}));
    EXPECT_EQ(DifferenceLevels(Judged(false)).size(), 2u);
    EXPECT_TRUE(DifferenceLevels(KeyFigures{}).empty());  // no data, no quiet
}

}  // namespace
