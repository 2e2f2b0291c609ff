// "导出数据": the bytes of the file, the name rule, and every failure, under Wine with the
// code page 936 that a Simplified-Chinese Windows has.

#include "tests/app/PalvexUnderTest.h"

#include "app/CsvExport.h"
#include "device/recording/FileReplacement.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
         start = at + separator.size()) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string InCodePage936(const std::wstring& text) {
    char bytes[512] = {};
    const int length = ::WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()),
                                             bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, static_cast<std::size_t>(length));
}

// A disk that is full from the first byte.
BOOL WINAPI WriteToAFullDisk(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class CsvExportTest : public PalvexTest {
  protected:
    void SetUp() override {
        PalvexTest::SetUp();
        ASSERT_EQ(::GetACP(), 936u) << "the tests expect the Simplified-Chinese code page";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        folder_ = TestFolder() + L"\\exports\\" + std::wstring(name.begin(), name.end());
        ::CreateDirectoryW((TestFolder() + L"\\exports").c_str(), nullptr);
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        for (const wchar_t* file : {L"data.csv", L"mycsv", L"data.txt", L"upper.CSV"}) {
            ::DeleteFileW(Path(file).c_str());
        }
    }

    std::wstring Path(const wchar_t* name) const { return folder_ + L"\\" + name; }

    // "导出数据", answering the save dialog with path.
    void Export(const std::wstring& path) {
        prompts.savePath = path;
        prompts.shown.clear();
        Click(IDC_EXPORT_DATA);
    }

    // Nothing but the named files in the folder: no temporary file left behind.
    std::vector<std::wstring> FolderContent() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.cFileName[0] != L'.') {
                    names.push_back(found.cFileName);
                }
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        return names;
    }

    void ExpectSavedMessage() {
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, L" 保存文件成功！！！ ");
        EXPECT_EQ(prompts.shown[0].caption, L"Palvex");
        EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
    }

    std::wstring folder_;
};

TEST_F(CsvExportTest, AsksForTheFileWithTheProgramsOptions) {
    Create();
    Export(L"");  // cancelled
    ASSERT_EQ(prompts.asked.size(), 1u);
    const SaveFileOptions& options = prompts.asked[0];
    EXPECT_EQ(prompts.askedOwner, nullptr);
    EXPECT_EQ(options.filterDescription, L"csv file(*.csv)");
    EXPECT_EQ(options.filterPattern, L"*.csv");
    EXPECT_EQ(options.defaultExtension, L"*.csv");
    EXPECT_EQ(options.fileName, L"data.csv");
    EXPECT_EQ(options.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_EQ(options.pathCapacity, 260u);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"打开导出对话框失败");
    EXPECT_EQ(prompts.shown[0].caption, L"Palvex");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK));
}

TEST_F(CsvExportTest, BeforeAnyDeviceTheFileHoldsOneEmptyLine) {
    Create();
    Export(Path(L"data.csv"));
    ExpectSavedMessage();
    EXPECT_EQ(FileBytes(Path(L"data.csv")), "\r\n");
}

TEST_F(CsvExportTest, HeaderAndRowsInTheActiveCodePageWithATrailingCommaPerField) {
    SetVariable(L"TESSIK_SIM_CHANNELS", L"1");
    Create();
    Click(IDC_OPEN_DEVICE);
    Receive(30);
    const int rows = Rows();
    Export(Path(L"data.csv"));
    ExpectSavedMessage();

    const std::string bytes = FileBytes(Path(L"data.csv"));
    const std::vector<std::string> lines = Split(bytes, "\r\n");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(rows) + 2) << "one CR LF per line";
    EXPECT_TRUE(lines.back().empty());
    EXPECT_EQ(lines[0], "\xD0\xF2\xBA\xC5," + InCodePage936(L"1 基础值,1 滤波值,1 差值,1 噪声值,"));
    for (int row = 0; row < rows; ++row) {
        std::string expected;
        for (int column = 0; column < 5; ++column) {
            const std::wstring cell = Cell(row, column);
            expected += std::string(cell.begin(), cell.end()) + ",";
        }
        ASSERT_EQ(lines[static_cast<std::size_t>(row) + 1], expected) << row;
    }
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "a bare line feed";
}

TEST_F(CsvExportTest, ThirtyTwoChannelsGive129FieldsPerLineAndAClearLeavesTheHeader) {
    SetVariable(L"TESSIK_SIM_CHANNELS", L"32");
    Create();
    Click(IDC_OPEN_DEVICE);
    Receive(20);
    Export(Path(L"data.csv"));
    std::vector<std::string> lines = Split(FileBytes(Path(L"data.csv")), "\r\n");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(Rows()) + 2);
    lines.pop_back();
    for (const std::string& line : lines) {
        ASSERT_EQ(Split(line, ",").size(), 130u) << line;  // 129 fields, each ending in ","
        ASSERT_TRUE(line.ends_with(","));
    }
    EXPECT_TRUE(lines[0].ends_with("32 " + InCodePage936(L"噪声值") + ","));

    Click(IDC_CLEAR_DATA);
    Export(Path(L"data.csv"));
    ExpectSavedMessage();
    EXPECT_EQ(FileBytes(Path(L"data.csv")), lines[0] + "\r\n");
}

TEST_F(CsvExportTest, OnlyNamesEndingInCsvAreWritten) {
    for (const wchar_t* accepted : {L"data.CSV", L"x.Csv", L"mycsv", L"a.csv"}) {
        EXPECT_TRUE(HasCsvSuffix(accepted)) << accepted;
    }
    for (const wchar_t* refused : {L"data.txt", L"data.csv.txt", L"sv", L"", L"data.cs"}) {
        EXPECT_FALSE(HasCsvSuffix(refused)) << refused;
    }
    Create();
    Export(Path(L"data.txt"));
    EXPECT_TRUE(prompts.shown.empty());
    Export(Path(L"mycsv"));
    ExpectSavedMessage();
    Export(Path(L"upper.CSV"));
    ExpectSavedMessage();
    std::vector<std::wstring> files = FolderContent();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"mycsv", L"upper.CSV"}));
}

TEST_F(CsvExportTest, AChineseFolderAndFileName) {
    Create();
    const std::wstring folder = Path(L"导出 数据");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\数据.csv";
    ::DeleteFileW(path.c_str());
    Export(path);
    ExpectSavedMessage();
    EXPECT_EQ(FileBytes(path), "\r\n");
}

TEST_F(CsvExportTest, ALockedFileIsReportedWithItsErrorCodeAndKept) {
    Create();
    const std::wstring path = Path(L"data.csv");
    WriteBytes(path, "old content");
    HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Export(path);
    ::CloseHandle(lock);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"file open failed,error code:32");  // sharing violation
    EXPECT_EQ(prompts.shown[0].caption, L"Palvex");
    EXPECT_EQ(FileBytes(path), "old content");
    EXPECT_EQ(FolderContent(), std::vector<std::wstring>{L"data.csv"});
}

TEST_F(CsvExportTest, AReplacedFileKeepsItsAttributesAndAFailedReplaceKeepsTheOldOne) {
    Create();
    const std::wstring path = Path(L"data.csv");
    WriteBytes(path, "old content");
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    Export(path);
    ExpectSavedMessage();
    EXPECT_EQ(FileBytes(path), "\r\n");
    EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // The target taken by a program that lets others write it but not remove it while the new
    // file is written: it cannot take the target's place, which is a failure that leaves both
    // as they were.
    {
        ReplacementFile replacement(path);
        ASSERT_EQ(replacement.Open(), static_cast<DWORD>(ERROR_SUCCESS));
        HANDLE holder =
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(replacement.Write("new content"), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_NE(replacement.Commit(), static_cast<DWORD>(ERROR_SUCCESS));
        ::CloseHandle(holder);
    }
    EXPECT_EQ(FileBytes(path), "\r\n");
    EXPECT_EQ(FolderContent(), std::vector<std::wstring>{L"data.csv"});

    // Without a target the written file is moved into place.
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
    ReplacementFile replacement(path);
    ASSERT_EQ(replacement.Open(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(replacement.Write("new content"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(replacement.Commit(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(FileBytes(path), "new content");
    EXPECT_EQ(FolderContent(), std::vector<std::wstring>{L"data.csv"});
}

TEST_F(CsvExportTest, AFailedWriteIsAFailureAndTheOldFileSurvives) {
    Create();
    Click(IDC_OPEN_DEVICE);
    Receive(10);
    const std::wstring path = Path(L"data.csv");
    WriteBytes(path, "old content");
    const CsvWriteResult result = WriteTableAsCsv(dialog->ListPage(), path, &WriteToAFullDisk);
    EXPECT_EQ(result.outcome, CsvWriteResult::Outcome::WriteFailed);
    EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(FileBytes(path), "old content");
    EXPECT_EQ(FolderContent(), std::vector<std::wstring>{L"data.csv"});

    // The command reports it in a box of its own.
    prompts.savePath = path;
    ExportTableAsCsv(hwnd, dialog->ListPage(), &WriteToAFullDisk);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, L"保存文件失败,error code:112");
    EXPECT_EQ(prompts.shown[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(FileBytes(path), "old content");

    // And a good export replaces it.
    Export(path);
    ExpectSavedMessage();
    EXPECT_TRUE(FileBytes(path).starts_with("\xD0\xF2\xBA\xC5,"));
}

}  // namespace
