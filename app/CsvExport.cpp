#include "app/CsvExport.h"

#include "device/recording/TextEncoding.h"
#include "device/recording/RecordingFormat.h"
#include "device/recording/RecordingStoreLines.h"

#include <cwctype>
#include <vector>

namespace {

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
    return SaveReplacing(
        path, [&table](ReplacementFile& file) { return WriteLines(table, file); }, write);
}

void ExportTableAsCsv(HWND owner, const DlgListData& table, FileWriteCall write) {
    SaveFileOptions options;
    options.filterDescription = L"csv file(*.csv)";
    options.filterPattern = L"*.csv";
    options.defaultExtension = L"*.csv";
    options.fileName = L"data.csv";
    options.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    options.pathCapacity = kPathCapacity;
    // A name that does not end in "csv" saves nothing.
    SaveWithPrompts(
        owner, nullptr, options, HasCsvSuffix,
        [&table](ReplacementFile& file) { return WriteLines(table, file); }, write);
}
