#include "chartpage/CursorValueTable.h"

#include <cwchar>

bool CursorValueTable::AddRow(std::uint32_t channel) {
    if (rowCount_ >= rows_.size()) {
        return false;
    }
    Row& row = rows_[rowCount_++];
    std::swprintf(row.label.data(), row.label.size(), L"%u", channel + 1);
    for (Text& value : row.values) {
        value[0] = L'\0';
    }
    return true;
}

void CursorValueTable::SetValue(SampleQuantity quantity, std::uint32_t row, std::int32_t value) {
    if (row < rowCount_) {
        Text& text = rows_[row].values[QuantityIndex(quantity)];
        std::swprintf(text.data(), text.size(), L"%d", static_cast<int>(value));
    }
}

void CursorValueTable::ClearValue(SampleQuantity quantity, std::uint32_t row) {
    if (row < rowCount_) {
        rows_[row].values[QuantityIndex(quantity)][0] = L'\0';
    }
}

const wchar_t* CursorValueTable::Label(std::uint32_t row) const {
    return row < rowCount_ ? rows_[row].label.data() : L"";
}

const wchar_t* CursorValueTable::Value(SampleQuantity quantity, std::uint32_t row) const {
    return row < rowCount_ ? rows_[row].values[QuantityIndex(quantity)].data() : L"";
}
