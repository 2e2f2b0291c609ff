#pragma once
// What the four value lists show: per row the channel's number as the user counts it and,
// per quantity, the value under the cursor or nothing. The lists ask for their texts when
// they paint, so a refresh only writes numbers here and costs no list calls.

#include "device/store/SampleQuantity.h"
#include "device/store/TouchSampleStore.h"

#include <array>
#include <cstddef>
#include <cstdint>

class CursorValueTable {
  public:
    void RemoveAllRows() { rowCount_ = 0; }
    // Adds a row for a channel (0-based); false once every channel has its row.
    bool AddRow(std::uint32_t channel);
    std::uint32_t RowCount() const { return rowCount_; }

    void SetValue(SampleQuantity quantity, std::uint32_t row, std::int32_t value);
    void ClearValue(SampleQuantity quantity, std::uint32_t row);

    // The texts of a row, empty for a row that does not exist.
    const wchar_t* Label(std::uint32_t row) const;
    const wchar_t* Value(SampleQuantity quantity, std::uint32_t row) const;

  private:
    static constexpr std::size_t kTextSize = 12;  // "-2147483648" and its end
    using Text = std::array<wchar_t, kTextSize>;
    struct Row {
        Text label;
        std::array<Text, kSampleQuantityCount> values;
    };

    std::array<Row, kMaxTouchChannels> rows_{};
    std::uint32_t rowCount_ = 0;
};
