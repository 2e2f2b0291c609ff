// Exporting the data table through the save dialog into a folder whose path has blanks and
// Chinese characters, and reading the file back; and opening an exported file again, named on
// the program's command line.

#include <cstdio>
#include <string>
#include <vector>

#include "app/ChannelBoxes.h"
#include "res/resource.h"
#include "tests/e2e/PalvexScenario.h"
#include "tests/e2e/SaveDialog.h"
#include "tests/e2e/TopLevelWindows.h"

namespace {

using ExportScenario = PalvexScenario;

constexpr UINT kSimplifiedChineseCodePage = 936;

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    if (FILE* in = _wfopen(path.c_str(), L"rb")) {
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;) {
            bytes.append(block, got);
        }
        std::fclose(in);
    }
    return bytes;
}

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

std::wstring ExportFolder() {
    const std::wstring folder = WorkFolder() + L"\\导出 数据 目录";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
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

// A recording of rows frames of channels channels as Palvex writes it, with its header in
// code page 936: the values of row r, channel c are r + c + 100, r + c + 93, 7 and c.
std::string Recording(int channels, int rows) {
    std::wstring header = L"序号,";
    for (int c = 1; c <= channels; ++c) {
        for (const wchar_t* quantity : {L" 基础值,", L" 滤波值,", L" 差值,", L" 噪声值,"}) {
            header += std::to_wstring(c) + quantity;
        }
    }
    std::string bytes(header.size() * 2, '\0');
    bytes.resize(static_cast<std::size_t>(::WideCharToMultiByte(
        kSimplifiedChineseCodePage, 0, header.c_str(), static_cast<int>(header.size()),
        bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
    bytes += "\r\n";
    for (int r = 1; r <= rows; ++r) {
        bytes += std::to_string(r) + ",";
        for (int c = 0; c < channels; ++c) {
            bytes += std::to_string(r + c + 100) + "," + std::to_string(r + c + 93) + ",7," +
                     std::to_string(c) + ",";
        }
        bytes += "\r\n";
    }
    return bytes;
}

std::wstring SavedRecording(const wchar_t* name, const std::string& bytes) {
    const std::wstring path = ExportFolder() + L"\\" + name;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
    return path;
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
