// The command line of palvex-capture: what scripts may write, and the one-line refusals.

#include "capture/CaptureOptions.h"

#include <gtest/gtest.h>

namespace {

ParsedOptions Parse(std::vector<std::string> arguments) {
    return ParseCaptureOptions(arguments);
}

TEST(CaptureOptions, LiveCaptureWithEveryOption) {
    ParsedOptions p = Parse({"--seconds", "2.5", "--frames=1000", "--out", "a b.csv", "--summary",
                             "--summary-csv", "s.csv", "--threshold", "-3", "--min-snr=7"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(*p.options.seconds, 2.5);
    EXPECT_EQ(*p.options.frames, 1000u);
    EXPECT_EQ(p.options.outPath, "a b.csv");
    EXPECT_TRUE(p.options.summary);
    EXPECT_EQ(p.options.summaryCsvPath, "s.csv");
    EXPECT_EQ(*p.options.judge.threshold, -3.0);
    EXPECT_EQ(p.options.judge.minSnr, 7.0);
}

TEST(CaptureOptions, OfflineAndHelp) {
    ParsedOptions p = Parse({"--from", "keys.csv", "--summary"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.fromPath, "keys.csv");
    EXPECT_FALSE(p.options.judge.threshold.has_value());
    EXPECT_EQ(p.options.judge.minSnr, kDefaultMinSnr);
    p = Parse({"--from", "k.csv", "--compare", "old.csv", "--report", "r.html", "--label", "板 7",
               "--append", "log.csv", "--noise", "rms", "--min-touch-frames", "3", "--lang", "zh"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.comparePath, "old.csv");
    EXPECT_EQ(p.options.reportPath, "r.html");
    EXPECT_EQ(p.options.label, "板 7");
    EXPECT_EQ(p.options.appendPath, "log.csv");
    EXPECT_EQ(p.options.judge.noise, NoiseStatistic::Rms);
    EXPECT_EQ(p.options.judge.minTouchFrames, 3u);
    EXPECT_EQ(p.options.language, ReportLanguage::Chinese);
    EXPECT_EQ(Parse({"--from", "k.csv", "--summary", "--lang=en"}).options.language,
              ReportLanguage::English);
    EXPECT_FALSE(Parse({"--from", "k.csv", "--summary"}).options.language.has_value());
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_EQ(Parse({"--help"}).error, "");
    for (const char* option :
         {"--seconds", "--frames", "--out", "--summary-csv", "--from", "--threshold", "--min-snr",
          "--min-touch-frames", "--noise", "--compare", "--report", "--label", "--append", "--lang",
          "--help"}) {
        EXPECT_NE(CaptureUsage().find(option), std::string::npos) << option;
    }
}

TEST(CaptureOptions, Refusals) {
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const Case cases[] = {
        {{}, "give --seconds S or --frames N (or --from FILE.csv)"},
        {{"--frames", "10"},
         "nothing to do: give --out, --summary, --summary-csv, --compare, --report or --append"},
        {{"--from", "k.csv"},
         "nothing to do: give --summary, --summary-csv, --compare, --report or --append"},
        {{"--from", "k.csv", "--append", "log.csv"},
         "--label NAME and --append LOG.csv go together"},
        {{"--from", "k.csv", "--append", "l.csv", "--label", "a,b"},
         "--label cannot hold commas, quotes, tabs or line breaks: it is a field of the log"},
        {{"--from", "k.csv", "--append", "l.csv", "--label", "a\tb"},
         "--label cannot hold commas, quotes, tabs or line breaks: it is a field of the log"},
        {{"--noise", "max"}, "--noise needs pp or rms, not \"max\""},
        {{"--lang", "de"}, "--lang needs zh or en, not \"de\""},
        {{"--min-touch-frames", "0"},
         "--min-touch-frames needs a positive whole number, not \"0\""},
        {{"--from", "k.csv", "--frames", "3", "--summary"},
         "--from judges a file: it cannot be combined with --seconds, --frames or --out"},
        {{"--seconds", "0", "--summary"},
         "--seconds needs a positive number of seconds, not \"0\""},
        {{"--seconds", "inf", "--summary"},
         "--seconds needs a positive number of seconds, not \"inf\""},
        {{"--frames", "-5", "--summary"}, "--frames needs a positive whole number, not \"-5\""},
        {{"--frames", "12x", "--summary"}, "--frames needs a positive whole number, not \"12x\""},
        {{"--frames", "99999999999999999999999", "--summary"},
         "--frames needs a positive whole number, not \"99999999999999999999999\""},
        {{"--min-snr", "-1"}, "--min-snr needs a number of at least 0, not \"-1\""},
        {{"--threshold", "abc"}, "--threshold needs a number, not \"abc\""},
        {{"--out="}, "--out needs a file name"},
        {{"--summary", "--frames"}, "--frames needs a value"},
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--frames", "0x10", "--summary"}, "--frames needs a positive whole number, not \"0x10\""},
        {{"--frames", " 10", "--summary"}, "--frames needs a positive whole number, not \" 10\""},
        {{"--frames", "1e3", "--summary"}, "--frames needs a positive whole number, not \"1e3\""},
        {{"--seconds", "0x10", "--summary"},
         "--seconds needs a positive number of seconds, not \"0x10\""},
        {{"--seconds", "1e3", "--summary"},
         "--seconds needs a positive number of seconds, not \"1e3\""},
        {{"--frames", "3", "--threshold", " 5", "--summary"},
         "--threshold needs a number, not \" 5\""},
        {{"--summary=no", "--frames", "3"}, "--summary takes no value"},
        {{"--from", "--summary"}, "--from needs a value, not the option --summary"},
        {{"stray"}, "unknown argument stray"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.arguments).error, c.error);
    }
    // What a spreadsheet opening the log would take for a formula.
    for (const char* label : {"=1+2", "+A1", "-5", "@SUM(A1)"}) {
        EXPECT_EQ(Parse({"--from", "k.csv", "--append", "l.csv", "--label", label}).error,
                  "--label cannot begin with =, +, - or @: a spreadsheet opening the log would "
                  "take it for a formula")
            << label;
    }
    EXPECT_EQ(Parse({"--from", "k.csv", "--append", "l.csv", "--label", "board-1+2"}).error, "");
}

TEST(CaptureOptions, TheFilesNamedWithTheirOptions) {
    const std::vector<NamedFile> files =
        FilesOf(Parse({"--from", "k.csv", "--summary-csv", "s.csv", "--compare", "c.csv", "--label",
                       "a", "--append", "l.csv"})
                    .options);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(std::string(files[0].option) + files[0].path, "--fromk.csv");
    EXPECT_EQ(std::string(files[1].option) + files[1].path, "--summary-csvs.csv");
    EXPECT_EQ(std::string(files[2].option) + files[2].path, "--appendl.csv");
}

}  // namespace
