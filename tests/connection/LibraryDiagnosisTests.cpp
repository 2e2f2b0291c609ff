// Why a library cannot be used, judged from its file: the image's processor, the libraries it
// needs, its factory export, damaged files; and the words for every reason.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "device/connection/ConnectionProblemText.h"
#include "device/connection/LibraryDiagnosis.h"
#include "device/connection/PeImage.h"
#include "tests/connection/PeImageBuilder.h"

namespace {

constexpr std::uint16_t kMachineArm64 = 0xAA64;
const std::set<std::string> kPresent = {"KERNEL32.dll", "hid.dll"};

LibraryDiagnosis Judge(const std::vector<std::uint8_t>& file, std::uint16_t programMachine) {
    return JudgeLibraryImage(L"Tessik.dll", file, programMachine, "GetUsbHidObj",
                             [](const std::string& name) { return kPresent.count(name) > 0; });
}

TEST(PeImageTest, ReadsTheProcessorImportsAndExportsOfBothImageKinds) {
    for (const std::uint16_t machine : {kMachineI386, kMachineAmd64}) {
        const auto image =
            BuildPeImage(machine, {"KERNEL32.dll", "hid.dll"}, {"GetUsbHidObj", "_GetUsbHidObj@0"});
        const std::optional<PeImageFacts> facts = ReadPeImage(image);
        ASSERT_TRUE(facts) << machine;
        EXPECT_EQ(facts->machine, machine);
        EXPECT_EQ(facts->imports, (std::vector<std::string>{"KERNEL32.dll", "hid.dll"}));
        EXPECT_EQ(facts->exports, (std::vector<std::string>{"GetUsbHidObj", "_GetUsbHidObj@0"}));
    }
}

// Every cut of a sound image, and its header pointing past the end, is refused without reading
// beyond the bytes (the sanitizer builds watch that).
TEST(PeImageTest, CutOrDamagedImagesAreRefused) {
    const auto image = BuildPeImage(kMachineAmd64, {"KERNEL32.dll"}, {"GetUsbHidObj"});
    for (std::size_t length = 0; length < image.size(); ++length) {
        const std::vector<std::uint8_t> cut(image.begin(), image.begin() + length);
        EXPECT_FALSE(ReadPeImage(cut)) << length;
    }
    auto farHeader = image;
    farHeader[0x3E] = 0xFF;  // e_lfanew far beyond the file
    EXPECT_FALSE(ReadPeImage(farHeader));
    auto badName = image;
    badName[badName.size() - 2] = 0x01;  // a control character in the last name
    EXPECT_FALSE(ReadPeImage(badName));
    EXPECT_FALSE(ReadPeImage(std::vector<std::uint8_t>(4096, 'M')));
}

TEST(LibraryDiagnosisTest, TellsTheReasonALibraryCannotBeUsed) {
    using Imports = std::vector<std::string>;
    using Exports = std::vector<std::string>;
    const struct {
        std::uint16_t machine;
        Imports imports;
        Exports exports;
        LibraryProblem problem;
        std::wstring detail;  // the dependency or the similar export
    } cases[] = {
        {kMachineAmd64, {"KERNEL32.dll", "hid.dll"}, {"GetUsbHidObj"}, LibraryProblem::None, L""},
        {kMachineI386, {"KERNEL32.dll"}, {"GetUsbHidObj"}, LibraryProblem::Built32Bit, L""},
        {kMachineArm64, {}, {"GetUsbHidObj"}, LibraryProblem::OtherProcessor, L""},
        {kMachineAmd64,
         {"KERNEL32.dll", "api-ms-win-crt-runtime-l1-1-0.dll", "VCRUNTIME140.dll", "hid.dll"},
         {"GetUsbHidObj"},
         LibraryProblem::DependencyMissing,
         L"VCRUNTIME140.dll"},
        {kMachineAmd64, {}, {"GetRequestModule"}, LibraryProblem::FactoryMissing, L""},
        {kMachineAmd64, {}, {}, LibraryProblem::FactoryMissing, L""},
        {kMachineAmd64,
         {},
         {"?GetUsbHidObj@@YAPEAVHidTransport@@XZ"},
         LibraryProblem::FactoryMissing,
         L"?GetUsbHidObj@@YAPEAVHidTransport@@XZ"},
    };
    for (const auto& test : cases) {
        const LibraryDiagnosis d =
            Judge(BuildPeImage(test.machine, test.imports, test.exports), kMachineAmd64);
        EXPECT_EQ(d.problem, test.problem) << test.machine << " " << test.exports.size();
        EXPECT_EQ(d.dependency + d.similarExport, test.detail);
        EXPECT_EQ(d.machine, test.machine);
    }
    // A 32-bit program meets a 64-bit library the other way round.
    const auto wide = BuildPeImage(kMachineAmd64, {}, {"GetUsbHidObj"});
    EXPECT_EQ(Judge(wide, kMachineI386).problem, LibraryProblem::Built64Bit);
    EXPECT_EQ(Judge({}, kMachineAmd64).problem, LibraryProblem::NotALibrary);
}

// Every reason has words in both languages, naming the library; with nothing to add there are
// none.
TEST(ConnectionProblemTextTest, EveryReasonIsWordedInBothLanguages) {
    for (int problem = 0; problem <= static_cast<int>(LibraryProblem::DoesNotLoad); ++problem) {
        LibraryDiagnosis d;
        d.problem = static_cast<LibraryProblem>(problem);
        d.library = L"Tessik.dll";
        for (const TextLanguage language : {TextLanguage::Chinese, TextLanguage::English}) {
            const std::wstring text = LibraryProblemText(d, language);
            EXPECT_EQ(text.empty(), d.problem == LibraryProblem::None) << problem;
            EXPECT_EQ(text.find(L"Tessik.dll") == std::wstring::npos,
                      d.problem == LibraryProblem::None)
                << problem;
        }
    }
    for (const auto result : {AdapterSearchResult::NotFound, AdapterSearchResult::OtherReportLength,
                              AdapterSearchResult::InUse, AdapterSearchResult::Found}) {
        for (const TextLanguage language : {TextLanguage::Chinese, TextLanguage::English}) {
            EXPECT_NE(AdapterProblemText({result, 8, 8}, language).find(L"1D7F:0002"),
                      std::wstring::npos);
        }
    }
    EXPECT_EQ(
        AdapterProblemText({AdapterSearchResult::OtherReportLength, 9, 1}, TextLanguage::English),
        L"Adapter 1D7F:0002 was found, but its reports are 9/1 bytes long (input/output), "
        L"not 64 or 65.");
}

}  // namespace
