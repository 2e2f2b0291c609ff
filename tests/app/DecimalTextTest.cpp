// The table's and the export's numbers against what "%d" writes, at the edges of every width.

#include "app/DecimalText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

TEST(DecimalText, WritesWhatPrintfWritesInBothCharacterWidths) {
    const std::int64_t values[] = {0,         1,         -1,           9,
                                   10,        -10,       99,           100,
                                   65535,     -65535,    999999999,    1000000000,
                                   INT32_MAX, INT32_MIN, 4294967295LL, 4294967296LL,
                                   INT64_MAX, INT64_MIN};
    for (const std::int64_t value : values) {
        char expected[32];
        std::snprintf(expected, sizeof(expected), "%lld", static_cast<long long>(value));
        char narrow[32];
        wchar_t wide[32];
        const std::string written(narrow, WriteDecimal(value, narrow));
        const std::wstring writtenWide(wide, WriteDecimal(value, wide));
        EXPECT_EQ(written, expected);
        EXPECT_EQ(writtenWide, std::wstring(written.begin(), written.end()));
    }
}

}  // namespace
