// Exporting the data table through the save dialog into a folder whose path has blanks and
// Chinese characters, and reading the file back; and opening an exported file again, named on
// the program's command line.

#include <cstdio>
#include <string>
#include <vector>

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/capture/CaptureRunner.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/RecordingFiles.h"
#include "tests/e2e/SaveDialog.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

using ExportScenario = PalvexScenario;

std::wstring Decode(const std::string& bytes, UINT codePage) {
    std::wstring text(bytes.size(), L'\0');
    const int length =
        ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                              text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The file the table should give: every field followed by a comma, CR LF after every line.
std::wstring ExpectedCsv(const RemoteListView& list) {
    const auto line = [](const std::vector<std::wstring>& fields) {
        std::wstring text;
        for (const auto& field : fields) {
            text += field + L",";
        }
        return text + L"\r\n";
    };
    std::wstring csv = line(list.Titles());
    for (int row = 0, rows = list.RowCount(); row < rows; ++row) {
        csv += line(list.Row(row));
    }
    return csv;
}

TEST_F(ExportScenario, ExportsIntoFolderWithBlanksAndChineseCharacters) {
    Launch({{L"TESSIK_SIM_CHANNELS", L"4"}});
    const RemoteListView list = Window().DataList();
    ASSERT_TRUE(ClickAndWaitFor(IDC_OPEN_DEVICE, kOpened));
    ASSERT_TRUE(ClickAndWaitFor(IDC_CONTINUE_RECEIVING, kReceiving));
    ASSERT_TRUE(WaitUntil([&] { return list.RowCount() >= 20; }, 20s));
    ASSERT_TRUE(ClickAndWaitFor(IDC_STOP_RECEIVING, kOpened));

    const std::wstring path = ExportFolder() + L"\\触摸 数据.csv";
    ::DeleteFileW(path.c_str());
    Window().Click(IDC_EXPORT_DATA);
    ASSERT_TRUE(SaveAs(process_.Id(), path, 15s)) << "the save dialog was not there to answer";

    ASSERT_TRUE(AnswerMessageBoxSaying(L"Palvex", L" 保存文件成功！！！ ", L"saved"));

    const std::string bytes = ReadFileBytes(path);
    ASSERT_FALSE(bytes.empty()) << "no file at the chosen path";
    EXPECT_EQ(bytes.substr(0, 5), "\xD0\xF2\xBA\xC5,")
        << "序号 in code page 936, no byte order mark";
    EXPECT_EQ(Decode(bytes, kSimplifiedChineseCodePage), ExpectedCsv(list));
}

TEST_F(ExportScenario, StartedWithARecordingShowsItAndExportsItAgainByteForByte) {
    const std::string bytes = Recording(4, 500);
    Launch({}, ProgramFolder(), SavedRecording(L"按键 记录.csv", bytes));
    const RemoteListView list = Window().DataList();
    ASSERT_TRUE(WaitUntil([&] { return list.RowCount() == 500; }, 20s)) << list.RowCount();
    EXPECT_EQ(Window().Text(IDC_RECORDING_NAME), L"记录：按键 记录.csv");
    wchar_t caption[64] = {};
    ::GetWindowTextW(Window().Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Ostrel-TK");
    EXPECT_EQ(list.Row(499),
              (TableRow{L"500", L"600", L"593", L"7", L"0", L"601", L"594", L"7", L"1", L"602",
                        L"595", L"7", L"2", L"603", L"596", L"7", L"3"}));
    for (int channel = 0; channel < 32; ++channel) {
        const int box = kChannelBoxIds[static_cast<std::size_t>(channel)];
        EXPECT_EQ(Window().Enabled(box), channel < 4) << "box " << channel + 1;
        EXPECT_EQ(Window().Checked(box), channel < 4) << "box " << channel + 1;
    }
    EXPECT_TRUE(Window().Enabled(IDC_OPEN_DEVICE));
    EXPECT_FALSE(Window().Enabled(IDC_CLOSE_DEVICE));
    SavePicture(L"recording");

    const std::wstring again = ExportFolder() + L"\\再次导出.csv";
    ::DeleteFileW(again.c_str());
    Window().Click(IDC_EXPORT_DATA);
    ASSERT_TRUE(SaveAs(process_.Id(), again, 15s)) << "the save dialog was not there to answer";
    ASSERT_TRUE(AnswerMessageBoxSaying(L"Palvex", L" 保存文件成功！！！ ", L"saved"));
    EXPECT_TRUE(ReadFileBytes(again) == bytes) << "the export differs from the file it showed";
}

TEST_F(ExportScenario, AMalformedRecordingIsRefusedWithItsLineAndTheWindowStaysEmpty) {
    std::string bytes = Recording(2, 1500);
    bytes.insert(bytes.find("\r\n1400,") + 2, "x");  // line 1401: row 1400
    Launch({}, ProgramFolder(), SavedRecording(L"坏的.csv", bytes));
    ASSERT_TRUE(AnswerMessageBoxSaying(
        L"Palvex", L"无法读取记录文件：\n坏的.csv, line 1401: row number \"x1400\" is not a number",
        L"refused"));
    EXPECT_EQ(Window().DataList().RowCount(), 0);
    EXPECT_EQ(Window().Text(IDC_RECORDING_NAME), L"");
    EXPECT_FALSE(Window().Enabled(kChannelBoxIds[0]));
}

}  // namespace
