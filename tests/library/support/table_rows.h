// Counting the rows a loader filled in one of the library's 1-based tables.
#pragma once

#include <cstddef>

// Rows 1.. that hold any non-zero value (row 0 is never used).
template <typename Cell, size_t Rows, size_t Columns>
int FilledRows(const Cell (&table)[Rows][Columns]) {
    int n = 0;
    for (size_t r = 1; r < Rows; r++) {
        bool any = false;
        for (size_t c = 0; c < Columns; c++) any |= table[r][c] != 0;
        n += any;
    }
    return n;
}
