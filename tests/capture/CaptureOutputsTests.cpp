// The comparison with an earlier summary and the production log's lines.

#include "capture/ProductionLog.h"
#include "capture/SummaryCompare.h"
#include "evaluation/SummaryReport.h"

#include <gtest/gtest.h>

namespace {

KeyFigures Key(std::uint32_t channel, KeyVerdict verdict, std::int32_t noise, double delta) {
    KeyFigures key;
    key.channel = channel;
    key.samples = 100;
    key.verdict = verdict;
    key.noise = noise;
    key.touchDelta = delta;
    key.snr = delta / noise;
    key.runs.quiet.frames = 90;
    return key;
}

TEST(SummaryCompare, EarlierFiguresBesideTheNewOnesWithTheChange) {
    // An earlier version's summary: the first seven columns only, CR LF line ends.
    const std::string earlier =
        "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\r\n"
        "1,3000,1900.0,33,30.8,0.93,fail\r\n"
        "2,3000,2000.0,6,,,no touch\r\n"
        "3,3000,2100.0,6,60.0,10.00,pass\r\n";
    std::vector<EarlierFigures> channels;
    std::string error;
    ASSERT_TRUE(ParseSummaryCsv(earlier, "old.csv", channels, error)) << error;
    ASSERT_EQ(channels.size(), 3u);
    EXPECT_EQ(channels[0].snr, "0.93");
    EXPECT_EQ(channels[1].delta, "");

    const std::string table = FormatComparison(
        channels, {Key(0, KeyVerdict::Pass, 6, 31.0), Key(1, KeyVerdict::NoTouch, 6, 0.0),
                   Key(3, KeyVerdict::Pass, 4, 80.0)});
    EXPECT_NE(
        table.find("1            6     33      31.0      30.8     5.17     0.93      pass      "
                   "fail  changed"),
        std::string::npos)
        << table;
    EXPECT_NE(table.find("no touch  same"), std::string::npos) << table;
    EXPECT_NE(table.find("gone"), std::string::npos) << table;  // channel 3
    EXPECT_NE(table.find("new"), std::string::npos) << table;   // channel 4

    // This version's summary reads back too.
    ASSERT_TRUE(ParseSummaryCsv(FormatSummaryCsv({Key(0, KeyVerdict::Pass, 6, 31.0)}), "new.csv",
                                channels, error))
        << error;
    EXPECT_EQ(channels[0].noise, "6");

    for (const char* bad : {"", "x,y\n1,2\n",
                            "channel,samples,baseline_mean,noise_pp,touch_"
                            "delta,snr,result\n1,2,3,four,5,6,pass\n",
                            "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\n"
                            "0,2,3,4,5,6,pass\n",
                            "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\n"
                            "1,2,3,4,5,6,great\n"}) {
        EXPECT_FALSE(ParseSummaryCsv(bad, "old.csv", channels, error)) << bad;
        EXPECT_EQ(error.rfind("old.csv, line ", 0), 0u) << error;
    }
}

TEST(SummaryCompare, SummariesThatNoProgramWroteAreRefusedNamingTheLine) {
    const std::string header = "channel,samples,baseline_mean,noise_pp,touch_delta,snr,result\n";
    const std::string good = "1,3000,1900.0,6,60.0,10.00,pass\n";
    const struct {
        std::string line;
        std::string error;
    } cases[] = {
        {"1,3000,1900.0,6,61.0,10.17,pass\n", "line 3: channel 1 appears a second time"},
        {"2,3000,1900.0,6,-inf,10.00,pass\n", "line 3: not a line of channel figures"},
        {"2,3000,1900.0,nan,60.0,10.00,pass\n", "line 3: not a line of channel figures"},
        {"2,3000,1900.0,6,6e1,10.00,pass\n", "line 3: not a line of channel figures"},
        {"2,3000,1900.0,6,60.0,20000000000.0,pass\n", "line 3: not a line of channel figures"},
        {"2,3000,1900.0,6," + std::string(150, '9') + ",10.00,pass\n",
         "line 3: a field longer than 32 characters is not a figure"},
        {"2,3000,1900.0,6,60.0,10.00,pass," + std::string(40, 'x') + "\n",
         "line 3: a field longer than 32 characters is not a figure"},
    };
    std::vector<EarlierFigures> channels;
    std::string error;
    for (const auto& c : cases) {
        EXPECT_FALSE(ParseSummaryCsv(header + good + c.line, "old.csv", channels, error)) << c.line;
        EXPECT_EQ(error, "old.csv, " + c.error) << c.line;
    }

    // The widest figures that are accepted reach the comparison whole.
    const std::string wide = "-" + std::string(10, '9') + "." + std::string(20, '0');
    ASSERT_TRUE(
        ParseSummaryCsv(header + "1,3000,1900.0," + wide + "," + wide + "," + wide + ",pass\n",
                        "old.csv", channels, error))
        << error;
    const std::string table = FormatComparison(channels, {Key(0, KeyVerdict::Pass, 6, 31.0)});
    EXPECT_NE(table.find(wide + " "), std::string::npos) << table;
    EXPECT_NE(table.find("pass  same\n"), std::string::npos) << table;
}

TEST(ProductionLog, OneWholeLinePerChannelWithTheUtcTime) {
    using namespace std::chrono;
    const auto time = sys_days{2024y / May / 1} + hours{8} + minutes{30} + seconds{5};
    EXPECT_EQ(FormatUtcTime(time + milliseconds{999}), "2024-05-01T08:30:05Z");
    KeyFigures pass = Key(0, KeyVerdict::Pass, 6, 31.0);
    pass.noiseRms = 2.0;
    pass.thresholds = SuggestThresholds(31.0);
    pass.runs.touches.push_back({{10, 20}, 31.0});
    pass.weakestDelta = 25.0;
    pass.weakestSnr = 25.0 / 6;
    const std::vector<KeyFigures> keys = {pass, Key(1, KeyVerdict::NoTouch, 6, 0.0)};
    // The newest columns go after the verdict; a log of the first version keeps its columns.
    EXPECT_EQ(ProductionLogHeaders().at(0),
              "time,label,channel,samples,baseline_mean,noise_pp,noise_rms,quiet_frames,touches,"
              "touch_delta,snr,finger_threshold,noise_threshold,hysteresis,result,weakest_delta,"
              "weakest_snr\r\n");
    EXPECT_EQ(FormatLogRecords(keys, "板 7", "2024-05-01T08:30:05Z"),
              "2024-05-01T08:30:05Z,板 7,1,100,0.0,6,2.00,90,1,31.0,5.17,25,12,3,pass,25.0,4.17\r\n"
              "2024-05-01T08:30:05Z,板 7,2,100,0.0,6,0.00,90,0,,,,,,no touch,,\r\n");
    EXPECT_EQ(ProductionLogHeaders().at(1),
              "time,label,channel,samples,baseline_mean,noise_pp,noise_rms,quiet_frames,touches,"
              "touch_delta,snr,finger_threshold,noise_threshold,hysteresis,result\r\n");
    EXPECT_EQ(FormatLogRecords(keys, "板 7", "2024-05-01T08:30:05Z", 1),
              "2024-05-01T08:30:05Z,板 7,1,100,0.0,6,2.00,90,1,31.0,5.17,25,12,3,pass\r\n"
              "2024-05-01T08:30:05Z,板 7,2,100,0.0,6,0.00,90,0,,,,,,no touch\r\n");
}

}  // namespace
