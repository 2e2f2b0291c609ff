#include "app/CsvExport.h"

#include "app/ProgramName.h"
#include "device/recording/TextEncoding.h"
#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingStoreLines.h"
#include "framework/Prompts.h"

#include <cwctype>
#include <vector>

namespace {

constexpr wchar_t kDialogFailedText[] = L"打开导出对话框失败";
constexpr wchar_t kOpenFailedFormat[] = L"file open failed,error code:%lu";
constexpr wchar_t kWriteFailedFormat[] = L"保存文件失败,error code:%lu";
constexpr wchar_t kSavedText[] = L" 保存文件成功！！！ ";
constexpr std::size_t kPathCapacity = 260;

bool WriteLines(const DlgListData& table, ReplacementFile& file) {
    RecordingLineWriter lines(
        [&file](std::string_view piece) { return file.Write(piece) == ERROR_SUCCESS; });
    const TouchSampleStore* store = table.RowSource();
    const std::vector<std::wstring> titles =
        store != nullptr ? StoreColumnTitles(*store) : std::vector<std::wstring>();
    return lines.WriteText(ToActiveCodePage(RecordingHeaderText(titles))) &&
           (store == nullptr ||
            WriteStoreLines(*store, static_cast<std::uint32_t>(table.RowCount()), lines)) &&
           lines.Flush();
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

CsvWriteResult WriteTableAsCsv(const DlgListData& table, const std::wstring& path,
                               FileWriteCall write) {
    using Outcome = CsvWriteResult::Outcome;
    // A target held open by another program, or one that may not be written, is reported
    // before anything is written.
    ReplacementFile file(path, write);
    if (const DWORD error = file.Open()) {
        return {Outcome::OpenFailed, error};
    }
    if (!WriteLines(table, file) || file.Commit() != ERROR_SUCCESS) {
        return {Outcome::WriteFailed, file.Error()};
    }
    return {Outcome::Saved, ERROR_SUCCESS};
}

void ExportTableAsCsv(HWND owner, const DlgListData& table, FileWriteCall write) {
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
    const CsvWriteResult result = WriteTableAsCsv(table, path, write);
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
