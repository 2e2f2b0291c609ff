// palvex-capture's recording is byte for byte what the window's "导出数据" writes for the same
// frames: the main dialog receives from the simulator, its table is exported, and the program
// then captures as many frames from a simulator started the same way.

#include "app/CsvExport.h"
#include "tests/app/PalvexUnderTest.h"
#include "tests/capture/CaptureRunner.h"

namespace {

class CaptureMatchesExportTest : public PalvexTest {};

TEST_F(CaptureMatchesExportTest, SameFramesGiveTheSameBytes) {
    // The library folder is the build's simulator folder, as relative to the test program.
    Create(PALVEX_SIMULATOR_FOLDER_FROM_TESTS);
    Click(IDC_OPEN_DEVICE);
    Receive(700);
    const int rows = Rows();
    ASSERT_GE(rows, 700);
    const std::wstring exported = TempFolder() + L"窗口 导出.csv";
    ASSERT_EQ(WriteTableAsCsv(dialog->ListPage(), exported).outcome,
              CsvWriteResult::Outcome::Saved);

    const std::wstring captured = TempFolder() + L"capture.csv";
    const ProgramRun run =
        RunCapture(L"--frames " + std::to_wstring(rows) + L" --out \"" + captured + L"\"");
    ASSERT_EQ(run.exitCode, 0u) << run.err;
    const std::string window = ReadFileBytes(exported);
    const std::string program = ReadFileBytes(captured);
    EXPECT_GT(window.size(), 700u * 17u * 2u);
    EXPECT_TRUE(window == program)
        << "window " << window.size() << " bytes, capture " << program.size()
        << " bytes; first difference at "
        << std::mismatch(window.begin(), window.end(), program.begin(), program.end()).first -
               window.begin();
}

}  // namespace
