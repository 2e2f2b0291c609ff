// Exporting the data table through the save dialog into a folder whose path has blanks and
// Chinese characters, and reading the file back.

#include <cstdio>
#include <string>
#include <vector>

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

}  // namespace
