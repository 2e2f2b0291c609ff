#pragma once
// Reads a report list view of another process: column titles, row count and cell texts; and
// selects a row as a click would.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/RemoteBuffer.h"

using TableRow = std::vector<std::wstring>;

class RemoteListView {
  public:
    RemoteListView(HANDLE process, HWND list);

    int ColumnCount() const;
    int RowCount() const;
    std::wstring ColumnTitle(int column) const;
    std::wstring Cell(int row, int column) const;

    std::vector<std::wstring> Titles() const;
    TableRow Row(int row) const;
    // Selects row alone (-1: none), as the list's own notifications tell its owner.
    bool Select(int row) const;

  private:
    // The text limit of one read; cells and titles of the table are far shorter.
    static constexpr int kTextCapacity = 260;

    std::wstring ReadText(UINT message, WPARAM wParam, const void* request,
                          std::size_t requestSize) const;

    HWND list_;
    RemoteBuffer buffer_;
};
