#include "app/CsvExport.h"

#include "app/ProgramName.h"
#include "device/ActiveCodePage.h"
#include "device/ExportFormat.h"
#include "device/FileReplacement.h"
#include "device/StoreLines.h"
#include "framework/Prompts.h"

#include <cwctype>
#include <vector>

namespace {

constexpr wchar_t kDialogFailedText[] = L"打开导出对话框失败";
constexpr wchar_t kOpenFailedFormat[] = L"file open failed,error code:%lu";
constexpr wchar_t kWriteFailedFormat[] = L"保存文件失败,error code:%lu";
constexpr wchar_t kSavedText[] = L" 保存文件成功！！！ ";
constexpr std::size_t kPathCapacity = 260;

// A target that another program holds open without sharing, or that may not be written, is
// reported before anything is written. 0 when the file can be replaced or does not exist.
DWORD TargetRefusal(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return 0;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
}

bool WriteLines(const DlgListData& table, std::FILE* file) {
    ExportLineWriter lines(ExportLineWriter::FileSink(file));
    const TouchSampleStore* store = table.RowSource();
    const std::vector<std::wstring> titles =
        store != nullptr ? StoreColumnTitles(*store) : std::vector<std::wstring>();
    return lines.WriteText(ToActiveCodePage(CsvHeaderText(titles))) &&
           (store == nullptr ||
            WriteStoreLines(*store, static_cast<std::uint32_t>(table.RowCount()), lines)) &&
           lines.Flush() && std::fflush(file) == 0;
}

std::wstring Formatted(const wchar_t* format, DWORD error) {
    wchar_t text[128];
    std::swprintf(text, 128, format, static_cast<unsigned long>(error));
    return text;
}

}  // namespace

bool HasCsvSuffix(const std::wstring& path) {
    if (path.size() < 3) {
        return false;
    }
    const wchar_t* last = path.c_str() + path.size() - 3;
    return std::towlower(last[0]) == L'c' && std::towlower(last[1]) == L's' &&
           std::towlower(last[2]) == L'v';
}

std::FILE* OpenFileForWriting(const std::wstring& path) {
    return ::_wfopen(path.c_str(), L"wb");
}

CsvWriteResult WriteTableAsCsv(const DlgListData& table, const std::wstring& path,
                               FileOpener open) {
    using Outcome = CsvWriteResult::Outcome;
    if (const DWORD refusal = TargetRefusal(path)) {
        return {Outcome::OpenFailed, refusal};
    }
    ReplacementFile temporary(path);
    if (!temporary.Created()) {
        return {Outcome::OpenFailed, LastErrorOr(ERROR_CANNOT_MAKE)};
    }
    std::FILE* file = open(temporary.Path());
    if (file == nullptr) {
        return {Outcome::OpenFailed, LastErrorOr(ERROR_OPEN_FAILED)};
    }
    ::SetLastError(ERROR_SUCCESS);
    const bool written = WriteLines(table, file) && std::ferror(file) == 0;
    DWORD error = written ? ERROR_SUCCESS : LastErrorOr(ERROR_WRITE_FAULT);
    if (std::fclose(file) != 0 && written) {
        error = LastErrorOr(ERROR_WRITE_FAULT);
    }
    if (error != ERROR_SUCCESS) {
        return {Outcome::WriteFailed, error};
    }
    if (const DWORD replaceError = temporary.Commit()) {
        return {Outcome::WriteFailed, replaceError};
    }
    return {Outcome::Saved, ERROR_SUCCESS};
}

void ExportTableAsCsv(HWND owner, const DlgListData& table, FileOpener open) {
    SaveFileOptions options;
    options.filterDescription = L"csv file(*.csv)";
    options.filterPattern = L"*.csv";
    options.defaultExtension = L"*.csv";
    options.fileName = L"data.csv";
    options.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    options.pathCapacity = kPathCapacity;

    std::wstring path;
    if (!Prompts().AskSaveFile(nullptr, options, path)) {
        Prompts().ShowMessage(owner, kDialogFailedText, kProgramName, MB_OK);
        return;
    }
    if (!HasCsvSuffix(path)) {
        return;
    }
    const CsvWriteResult result = WriteTableAsCsv(table, path, open);
    switch (result.outcome) {
        case CsvWriteResult::Outcome::Saved:
            Prompts().ShowMessage(owner, kSavedText, kProgramName, MB_OK);
            break;
        case CsvWriteResult::Outcome::OpenFailed:
            Prompts().ShowMessage(owner, Formatted(kOpenFailedFormat, result.error), kProgramName,
                                  MB_OK);
            break;
        case CsvWriteResult::Outcome::WriteFailed:
            Prompts().ShowMessage(owner, Formatted(kWriteFailedFormat, result.error), kProgramName,
                                  MB_OK | MB_ICONERROR);
            break;
    }
}
