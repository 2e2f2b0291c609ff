#include "device/connection/ConnectionProblemText.h"

#include <cstdio>
#include <iterator>

namespace {

std::wstring Hex(unsigned value, int digits) {
    wchar_t text[16] = {};
    std::swprintf(text, std::size(text), L"%0*X", digits, value);
    return text;
}

// The adapter as the texts name it: "1D7F:0002".
std::wstring AdapterName() {
    return Hex(kAdapterVendorId, 4) + L":" + Hex(kAdapterProductId, 4);
}

}  // namespace

std::wstring LibraryProblemText(const LibraryDiagnosis& d, TextLanguage language) {
    const bool zh = language == TextLanguage::Chinese;
    const std::wstring& lib = d.library;
    const std::wstring error = std::to_wstring(d.systemError);
    switch (d.problem) {
        case LibraryProblem::None:
            return {};
        case LibraryProblem::NotInFolder:
            return zh ? L"程序文件夹中没有 " + lib + L"。"
                      : lib + L" is not in the program's folder.";
        case LibraryProblem::Unreadable:
            return zh ? L"无法读取 " + lib + L"（系统错误 " + error + L"）。"
                      : lib + L" cannot be read (system error " + error + L").";
        case LibraryProblem::NotALibrary:
            return zh ? lib + L" 不是 Windows 库文件，或文件已损坏。"
                      : lib + L" is not a Windows library, or the file is damaged.";
        case LibraryProblem::Built32Bit:
            return zh ? lib +
                            L" 是 32 位 Windows 的库，而本程序是 64 位的：请改用 32 位的 Palvex "
                            L"软件包（文件名以 -win32.zip 结尾）。"
                      : lib +
                            L" is built for 32-bit Windows and this program is 64-bit: use the "
                            L"32-bit Palvex package (its name ends in -win32.zip).";
        case LibraryProblem::Built64Bit:
            return zh ? lib +
                            L" 是 64 位 Windows 的库，而本程序是 32 位的：请改用 64 位的 Palvex "
                            L"软件包（文件名以 -win64.zip 结尾）。"
                      : lib +
                            L" is built for 64-bit Windows and this program is 32-bit: use the "
                            L"64-bit Palvex package (its name ends in -win64.zip).";
        case LibraryProblem::OtherProcessor:
            return zh ? lib + L" 是为其他处理器编译的（机器类型 0x" + Hex(d.machine, 4) +
                            L"），无法加载。"
                      : lib + L" is built for another processor (machine type 0x" +
                            Hex(d.machine, 4) + L") and cannot be loaded.";
        case LibraryProblem::DependencyMissing:
            return zh ? L"缺少 " + lib + L" 所需的库 " + d.dependency + L"。"
                      : d.dependency + L", which " + lib + L" needs, is missing.";
        case LibraryProblem::FactoryMissing:
            if (d.similarExport.empty()) {
                return zh ? lib + L" 没有导出 " + d.factory + L"。"
                          : lib + L" does not export " + d.factory + L".";
            }
            return zh ? lib + L" 没有导出 " + d.factory + L"（只有带修饰的名称 " + d.similarExport +
                            L"）。"
                      : lib + L" does not export " + d.factory + L" (only the decorated name " +
                            d.similarExport + L").";
        case LibraryProblem::DoesNotLoad:
            return zh ? L"Windows 无法加载 " + lib + L"（系统错误 " + error + L"）。"
                      : L"Windows cannot load " + lib + L" (system error " + error + L").";
    }
    return {};
}

std::wstring AdapterProblemText(const AdapterFinding& finding, TextLanguage language) {
    const bool zh = language == TextLanguage::Chinese;
    const std::wstring adapter = AdapterName();
    switch (finding.result) {
        case AdapterSearchResult::NotFound:
            return zh ? L"未找到适配器 " + adapter + L"。"
                      : L"No adapter " + adapter + L" was found.";
        case AdapterSearchResult::OtherReportLength: {
            const std::wstring lengths =
                std::to_wstring(finding.inputLength) + L"/" + std::to_wstring(finding.outputLength);
            return zh ? L"找到了适配器 " + adapter + L"，但它的报告长度为 " + lengths +
                            L" 字节（输入/输出），不是 64 或 65 字节。"
                      : L"Adapter " + adapter + L" was found, but its reports are " + lengths +
                            L" bytes long (input/output), not 64 or 65.";
        }
        case AdapterSearchResult::InUse:
            return zh ? L"适配器 " + adapter + L" 正被另一个程序使用。"
                      : L"Adapter " + adapter + L" is in use by another program.";
        case AdapterSearchResult::Found:
            return zh ? L"找到了适配器 " + adapter + L"，但 Tessik.dll 没能打开它。"
                      : L"Adapter " + adapter + L" is there, but Tessik.dll did not open it.";
    }
    return {};
}
