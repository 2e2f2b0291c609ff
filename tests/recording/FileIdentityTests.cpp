// Whether two names are one file, however they are spelled.

#include "device/recording/FileIdentity.h"

#include "tests/recording/FileFixture.h"

namespace {

using FileIdentityTest = FileFixture;

TEST_F(FileIdentityTest, NamesOfOneFileAndNamesOfTwo) {
    ASSERT_TRUE(::CreateDirectoryW(Path(L"sub").c_str(), nullptr));
    Write(Path(L"rec.csv"), "recording");
    Write(Path(L"other.csv"), "other");
    ASSERT_TRUE(::CreateHardLinkW(Path(L"link.csv").c_str(), Path(L"rec.csv").c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryW(folder_.c_str()));
    const struct {
        std::wstring a, b;
        bool same;
    } cases[] = {
        {L"rec.csv", Path(L"rec.csv"), true},
        {L"rec.csv", L"sub\\..\\rec.csv", true},
        {L"rec.csv", L"rec.csv.", true},
        {L"rec.csv", L"rec.csv  ", true},
        {L"rec.csv", L"REC.CSV", true},
        {L"rec.csv", L".\\sub/../rec.csv", true},
        {L"rec.csv", L"link.csv", true},  // a second name of the same file
        {L"rec.csv", L"other.csv", false},
        {L"rec.csv", L"new.csv", false},
        {L"new.csv", L"NEW.csv.", true},  // neither exists yet
        {L"new.csv", L"sub\\..\\new.csv", true},
        {L"new.csv", L"sub\\new.csv", false},
        {L"new.csv", L"new.csv.old", false},
        {L"no folder\\new.csv", L"No Folder\\NEW.csv", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameTheSameFile(c.a, c.b), c.same)
            << std::string(c.a.begin(), c.a.end()) << " / " << std::string(c.b.begin(), c.b.end());
    }
    ::SetCurrentDirectoryW(BaseFolder().c_str());
}

}  // namespace
