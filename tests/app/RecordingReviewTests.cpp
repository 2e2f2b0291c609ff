// Reviewing a recording file in the main window: dropped onto it as Explorer drops a file,
// refused while the device is open, refused when malformed, and replaced while it loads.

#include "tests/app/PalvexUnderTest.h"

#include "app/CsvExport.h"
#include "device/recording/TextEncoding.h"
#include "device/recording/RecordingFormat.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

// The four values of channel c (0-based) in row r (from 1) of Recording's files: a key
// touched now and then, with a negative difference now and then too.
std::array<int, 4> Values(int r, int c) {
    const int baseline = 3000 + 10 * c + r % 7;
    const int filtered = baseline - (r * 13 + c) % 200 + 20;
    return {baseline, filtered, baseline - filtered, (r + c) % 5};
}

// A recording of rows lines of channels channels, byte for byte as "导出数据" writes it.
std::string Recording(std::uint32_t channels, int rows) {
    std::vector<std::uint32_t> numbers;
    for (std::uint32_t c = 0; c < channels; ++c) {
        numbers.push_back(c);
    }
    std::string text = ToActiveCodePage(RecordingHeaderText(RecordingColumnTitles(numbers)));
    for (int r = 1; r <= rows; ++r) {
        text += std::to_string(r) + ",";
        for (std::uint32_t c = 0; c < channels; ++c) {
            for (int value : Values(r, static_cast<int>(c))) {
                text += std::to_string(value) + ",";
            }
        }
        text += "\r\n";
    }
    return text;
}

class RecordingReviewTest : public PalvexTest {
  protected:
    ~RecordingReviewTest() override {
        for (const std::wstring& path : files_) {
            ::DeleteFileW(path.c_str());
        }
    }

    std::wstring Path(const wchar_t* name) {
        files_.push_back(TestFolder() + L"\\" + name);
        return files_.back();
    }
    std::wstring Saved(const wchar_t* name, const std::string& bytes) {
        const std::wstring path = Path(name);
        WriteBytes(path, bytes);
        return path;
    }

    // Drops path onto the main window as Explorer does; with wait, until its load has ended.
    void Drop(const std::wstring& path, bool wait = true) {
        const std::size_t names = (path.size() + 2) * sizeof(wchar_t);  // and the list's end
        HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names);
        ASSERT_NE(memory, nullptr);
        auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(),
                    path.size() * sizeof(wchar_t));
        ::GlobalUnlock(memory);
        ::SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        if (wait) {
            EXPECT_TRUE(PumpUntil([this] { return !dialog->LoadingRecording(); }));
        }
    }

    std::wstring RecordingText() const {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(hwnd, IDC_RECORDING_NAME, text, 256);
        return text;
    }

    // Boxes 1..channels enabled and checked, the others neither.
    void ExpectBoxesOf(int channels) const {
        for (int channel = 1; channel <= static_cast<int>(kChannelBoxCount); ++channel) {
            EXPECT_EQ(BoxEnabled(channel), channel <= channels) << "box " << channel;
            EXPECT_EQ(BoxChecked(channel), channel <= channels) << "box " << channel;
        }
    }

  private:
    std::vector<std::wstring> files_;
};

TEST_F(RecordingReviewTest, ADroppedRecordingShowsAsAfterStoppingAndExportsTheSameBytes) {
    Create();
    const std::string bytes = Recording(3, 300);
    Drop(Saved(L"回看 记录.csv", bytes));

    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(RecordingText(), L"记录：回看 记录.csv");
    EXPECT_EQ(dialog->RecordingName(), L"回看 记录.csv");
    EXPECT_EQ(Panel(), kClosedPanel);
    ASSERT_EQ(Rows(), 300);
    ASSERT_EQ(Columns(), 13);
    EXPECT_EQ(ColumnTitle(9), L"3 基础值");
    for (int row : {0, 150, 299}) {
        for (int c = 0; c < 3; ++c) {
            const std::array<int, 4> values = Values(row + 1, c);
            for (int q = 0; q < 4; ++q) {
                EXPECT_EQ(Cell(row, 1 + 4 * c + q), std::to_wstring(values[q]))
                    << "row " << row << " channel " << c << " quantity " << q;
            }
        }
    }
    ExpectBoxesOf(3);
    EXPECT_EQ(LinesShown(), "111");
    // The charts show the newest samples, as after "停止接收".
    EXPECT_EQ(
        dialog->ChartPage().WindowStart(),
        static_cast<std::int32_t>(kLeadingZeroSamples + 300 - dialog->ChartPage().PointCount()));
    ::SendMessageW(Box(2), BM_CLICK, 0, 0);
    EXPECT_EQ(LinesShown(), "101");

    const std::wstring again = Path(L"again.csv");
    ASSERT_EQ(WriteTableAsCsv(dialog->ListPage(), again).outcome, CsvWriteResult::Outcome::Saved);
    EXPECT_TRUE(FileBytes(again) == bytes) << "the export differs from the file it showed";

    Press(IDC_CLEAR_DATA);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(RecordingReviewTest, AFileThatIsNoRecordingGivesItsReasonAndChangesNothing) {
    Create();
    Drop(Saved(L"good.csv", Recording(3, 20)));
    const std::string malformed = Recording(2, 4) + "5,1,2,3,4,5,6,7\r\n";
    const struct {
        std::wstring path;
        std::wstring reason;
    } cases[] = {
        {Saved(L"bad.csv", malformed), L"bad.csv, line 6: field 8 is not followed by a comma"},
        {Saved(L"notes.csv", "just some notes\r\n"),
         L"notes.csv, line 1: not a Palvex export header (every title ends with a comma)"},
        {Path(L"gone.csv"), L"gone.csv: cannot be opened"},
    };
    for (const auto& refused : cases) {
        prompts.shown.clear();
        Drop(refused.path);
        ASSERT_EQ(prompts.shown.size(), 1u) << "one box for " << refused.reason;
        EXPECT_EQ(prompts.shown[0].text.rfind(L"无法读取记录文件：\n" + refused.reason, 0), 0u)
            << prompts.shown[0].text;
        EXPECT_EQ(prompts.shown[0].caption, L"Palvex");
        EXPECT_EQ(Rows(), 20);
        EXPECT_EQ(StoreChannels(), 3u);
        EXPECT_EQ(RecordingText(), L"记录：good.csv");
        ExpectBoxesOf(3);
        EXPECT_EQ(LinesShown(), "111");
    }
}

TEST_F(RecordingReviewTest, OnlyWhileTheDeviceIsClosedAndOpeningItReplacesTheRecording) {
    Create();
    const std::wstring recording = Saved(L"good.csv", Recording(3, 20));
    Click(IDC_OPEN_DEVICE);
    ASSERT_EQ(Panel(), kOpenedPanel);
    Drop(recording);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"请先关闭设备，再打开记录文件。");
    EXPECT_EQ(StoreChannels(), 4u);
    EXPECT_EQ(RecordingText(), L"");

    Click(IDC_CLOSE_DEVICE);
    Drop(recording);
    EXPECT_EQ(Rows(), 20);
    EXPECT_EQ(StoreChannels(), 3u);

    Click(IDC_OPEN_DEVICE);
    EXPECT_EQ(Panel(), kOpenedPanel);
    EXPECT_EQ(StoreChannels(), 4u);
    EXPECT_EQ(RecordingText(), L"");
    EXPECT_EQ(dialog->RecordingName(), L"");
    ExpectBoxesOf(4);
}

TEST_F(RecordingReviewTest, AnotherFileOrClosingTheWindowStopsALoadThatRuns) {
    Create();
    const std::wstring large = Saved(L"large.csv", Recording(32, 30000));
    const std::wstring small = Saved(L"small.csv", Recording(3, 20));
    Drop(large, false);
    Drop(small);
    // A report of the stopped load that was already on its way must not show it.
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(dialog->RecordingName(), L"small.csv");
    EXPECT_EQ(Rows(), 20);
    EXPECT_EQ(StoreChannels(), 3u);

    Drop(large, false);
    EXPECT_TRUE(dialog->LoadingRecording());
    Destroy();
}

}  // namespace
