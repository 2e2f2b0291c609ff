#include "tests/e2e/RemoteListView.h"

#include <commctrl.h>

namespace {
// The request structure sits at the start of the remote block, its text behind it.
constexpr std::size_t kTextOffset = 256;
static_assert(sizeof(LVCOLUMNW) <= kTextOffset && sizeof(LVITEMW) <= kTextOffset);
}  // namespace

RemoteListView::RemoteListView(HANDLE process, HWND list)
    : list_(list), buffer_(process, kTextOffset + kTextCapacity * sizeof(wchar_t)) {}

int RemoteListView::ColumnCount() const {
    const auto header = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETHEADER, 0, 0));
    return header == nullptr ? 0 : static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

int RemoteListView::RowCount() const {
    return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteListView::ReadText(UINT message, WPARAM wParam, const void* request,
                                      std::size_t requestSize) const {
    const wchar_t empty = L'\0';
    if (!buffer_.Write(request, requestSize) || !buffer_.Write(&empty, sizeof empty, kTextOffset)) {
        return {};
    }
    ::SendMessageW(list_, message, wParam, buffer_.At());
    wchar_t text[kTextCapacity] = {};
    buffer_.Read(text, sizeof text - sizeof(wchar_t), kTextOffset);
    return text;
}

std::wstring RemoteListView::ColumnTitle(int column) const {
    LVCOLUMNW request{};
    request.mask = LVCF_TEXT;
    request.pszText = reinterpret_cast<LPWSTR>(buffer_.At(kTextOffset));
    request.cchTextMax = kTextCapacity;
    return ReadText(LVM_GETCOLUMNW, static_cast<WPARAM>(column), &request, sizeof request);
}

std::wstring RemoteListView::Cell(int row, int column) const {
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<LPWSTR>(buffer_.At(kTextOffset));
    request.cchTextMax = kTextCapacity;
    return ReadText(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), &request, sizeof request);
}

std::vector<std::wstring> RemoteListView::Titles() const {
    std::vector<std::wstring> titles;
    for (int column = 0, count = ColumnCount(); column < count; ++column) {
        titles.push_back(ColumnTitle(column));
    }
    return titles;
}

TableRow RemoteListView::Row(int row) const {
    TableRow cells;
    for (int column = 0, count = ColumnCount(); column < count; ++column) {
        cells.push_back(Cell(row, column));
    }
    return cells;
}

bool RemoteListView::Select(int row) const {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (!buffer_.Write(&state, sizeof state) ||
        !::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), buffer_.At())) {
        return false;
    }
    if (row < 0) {
        return true;
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    return buffer_.Write(&state, sizeof state) &&
           ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), buffer_.At()) != 0;
}
