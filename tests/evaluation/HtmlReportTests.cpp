// The HTML report as a person sees it: rendered by a real browser (headless Chromium, which
// scripts/install-deps.sh installs), its screenshot must show the curve, the quiet band, the
// touch shaded where it happened, the finger threshold above the band and the verdicts'
// colours. And it stays small however long the recording.

#include "evaluation/HtmlReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int kJitter[] = {0, 2, -1, 3, -3, 1, -2};

// channels keys of frames frames: channel 1 touched by 60 counts from 40 % to 60 % of the
// recording, the others quiet; every difference wobbles by -3 to 3.
RecordingKeys Recording(std::uint32_t channels, std::uint64_t frames) {
    RecordingKeys keys;
    keys.Reset(channels);
    std::vector<std::int32_t> values(4 * channels, 1000);
    for (std::uint64_t frame = 0; frame < frames; ++frame) {
        for (std::uint32_t c = 0; c < channels; ++c) {
            const bool touched = c == 0 && frame >= frames * 2 / 5 && frame < frames * 3 / 5;
            values[4 * c + 2] = (touched ? 60 : 0) + kJitter[(frame + c) % 7];
        }
        keys.Add(values.data());
    }
    return keys;
}

std::string Report(const RecordingKeys& keys, ReportLanguage language = ReportLanguage::English) {
    return FormatHtmlReport(keys, JudgeRecording(keys, {}),
                            {"keys <1>.csv", "2024-05-01T08:30:00Z", {}, language});
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    unsigned Pixel(int x, int y) const {
        const unsigned char* p = &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

unsigned Colour(const char* css) {
    return static_cast<unsigned>(std::strtoul(css + 1, nullptr, 16));
}

// The pixels of one colour within rows top to bottom - 1: how many, and the first and last
// column holding one.
struct Spread {
    int count = 0, left = 1 << 30, right = -1;
};
Spread Find(const Picture& picture, unsigned colour, int top = 0, int bottom = 1 << 30) {
    Spread s;
    for (int y = std::max(top, 0); y < std::min(bottom, picture.height); ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.Pixel(x, y) == colour) {
                ++s.count;
                s.left = std::min(s.left, x);
                s.right = std::max(s.right, x);
            }
        }
    }
    return s;
}

// The row holding the most pixels of colour.
int RowOf(const Picture& picture, unsigned colour) {
    int best = 0;
    int row = -1;
    for (int y = 0; y < picture.height; ++y) {
        const int count = Find(picture, colour, y, y + 1).count;
        if (count > best) {
            best = count;
            row = y;
        }
    }
    return row;
}

// Renders the page with headless Chromium and reads the screenshot back as RGB.
bool Screenshot(const std::filesystem::path& page, Picture& picture, std::string& why) {
    const std::filesystem::path folder = page.parent_path();
    const std::filesystem::path png = folder / "shot.png";
    const std::filesystem::path ppm = folder / "shot.ppm";
    if (!std::filesystem::exists("/usr/bin/chromium")) {
        why = "/usr/bin/chromium is missing: run scripts/install-deps.sh";
        return false;
    }
    const std::string browser =
        "/usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--hide-scrollbars --force-device-scale-factor=1 --window-size=1100,900 "
        "--user-data-dir='" +
        (folder / "profile").string() + "' --screenshot='" + png.string() + "' 'file://" +
        page.string() + "' >/dev/null 2>&1";
    if (std::system(browser.c_str()) != 0 || !std::filesystem::exists(png)) {
        why = "chromium took no screenshot";
        return false;
    }
    const std::string convert =
        "convert '" + png.string() + "' -depth 8 'ppm:" + ppm.string() + "' 2>/dev/null";
    if (std::system(convert.c_str()) != 0) {
        why = "the screenshot could not be converted";
        return false;
    }
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int maximum = 0;
    in >> magic >> picture.width >> picture.height >> maximum;
    in.get();
    picture.rgb.resize(3 * static_cast<std::size_t>(picture.width) * picture.height);
    in.read(reinterpret_cast<char*>(picture.rgb.data()),
            static_cast<std::streamsize>(picture.rgb.size()));
    why = "the screenshot is not a picture";
    return magic == "P6" && maximum == 255 && in.good();
}

TEST(HtmlReport, ABrowserShowsTheCurveBandTouchThresholdAndVerdicts) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("palvex-report-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path page = folder / "report.html";
    std::ofstream(page) << Report(Recording(2, 7000));

    Picture picture;
    std::string why;
    ASSERT_TRUE(Screenshot(page, picture, why)) << why;
    using namespace report_colour;
    EXPECT_GT(Find(picture, Colour(kPass)).count, 50) << "the passing key's colour";
    EXPECT_GT(Find(picture, Colour(kOther)).count, 50) << "the quiet key's 'no touch' colour";

    // The first chart: its finger threshold spans the plot; below it the touch covers 40 % to
    // 60 % of the plot, the quiet band shows under the touch, and the curve rises above the
    // threshold there.
    const int fingerRow = RowOf(picture, Colour(kFinger));
    const Spread finger = Find(picture, Colour(kFinger), fingerRow, fingerRow + 1);
    ASSERT_GT(finger.count, 400);
    const double left = finger.left;
    const double width = finger.right + 1 - left;
    EXPECT_NEAR(width, kReportPlotWidth, 8);  // the last dash ends up to a gap short
    const Spread touch = Find(picture, Colour(kTouch), fingerRow + 2, fingerRow + 3);
    EXPECT_NEAR((touch.left - left) / width, 0.4, 0.01);
    EXPECT_NEAR((touch.right + 1 - left) / width, 0.6, 0.01);
    const Spread band = Find(picture, Colour(kQuietBand), fingerRow, fingerRow + 200);
    EXPECT_GT(band.count, 100);
    EXPECT_GE(band.left, touch.left - 2);
    EXPECT_LE(band.right, touch.right + 2);
    const Spread plateau = Find(picture, Colour(kCurve), fingerRow - 40, fingerRow);
    EXPECT_GE(plateau.left, touch.left - 2);
    EXPECT_LE(plateau.right, touch.right + 2);
    EXPECT_GT(plateau.right - plateau.left, width * 0.18);
    const Spread quiet = Find(picture, Colour(kCurve), fingerRow, fingerRow + 200);
    EXPECT_GT(quiet.right - quiet.left, width * 0.97);
    if (!HasFailure()) {
        std::filesystem::remove_all(folder);
    }
}

TEST(HtmlReport, SelfContainedAndSmallForAnyLength) {
    const std::string shortOne = Report(Recording(32, 20000));
    const std::string longOne = Report(Recording(32, 80000));
    EXPECT_LT(longOne.size(), 3u << 20);
    EXPECT_LT(longOne.size(), shortOne.size() * 101 / 100);
    for (const char* outside : {"<script", "http", "src=", "<img", "@import"}) {
        EXPECT_EQ(longOne.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(longOne.find("keys &lt;1&gt;.csv"), std::string::npos);
}

TEST(HtmlReport, InChineseForChineseReaders) {
    const std::string page = Report(Recording(2, 7000), ReportLanguage::Chinese);
    for (const char* text : {"<html lang=\"zh-CN\">", "<th>通道</th>", "通道 1：合格",
                             "通道 2：未触摸", "静止带", "第 0 帧", "第 7000 帧"}) {
        EXPECT_NE(page.find(text), std::string::npos) << text;
    }
    for (const char* english : {"channel", "quiet band", "frame", ">pass<"}) {
        EXPECT_EQ(page.find(english), std::string::npos) << english;
    }
}

}  // namespace
