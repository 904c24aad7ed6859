// One 32-bit value per cell, row by row, every cell 0 until written.
//
// The storage is not cleared when it is made: a row is cleared when the
// first write reaches it, and a row not reached yet reads as 0. Tables are
// written from the top down, so a long table is touched once, row by row,
// instead of cleared whole and then written a second time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace rumone {

class LazyCellTable {
public:
    LazyCellTable() = default;
    LazyCellTable(int columns, int rows)
        : cells_(std::make_unique_for_overwrite<std::uint32_t[]>(static_cast<std::size_t>(columns) * rows)),
          columns_(static_cast<std::size_t>(columns)),
          size_(static_cast<std::size_t>(columns) * rows)
    {
    }

    // Row and column from 0.
    std::uint32_t get(int row, int column) const
    {
        return row < ready_ ? cells_[static_cast<std::size_t>(row) * columns_ + static_cast<std::size_t>(column)] : 0;
    }
    // The row's cells to change, rows up to it cleared first.
    std::uint32_t* row(int row)
    {
        if (row >= ready_)
            clearThrough(row);
        return rowData(row);
    }
    // The row's cells, every one of which the caller writes: when it is the
    // next row not yet reached, it is not cleared first.
    std::uint32_t* rowToOverwrite(int row)
    {
        if (row > ready_)
            clearThrough(row - 1);
        if (row == ready_)
            ++ready_;
        return rowData(row);
    }
    // The row's cells to read, or nullptr for a row not reached (all 0).
    const std::uint32_t* storedRow(int row) const
    {
        return row < ready_ ? cells_.get() + static_cast<std::size_t>(row) * columns_ : nullptr;
    }
    // Rows from this one on read as 0 without being stored.
    int rowsReached() const { return ready_; }
    std::size_t bytes() const { return size_ * sizeof(std::uint32_t); }

private:
    std::uint32_t* rowData(int row) { return cells_.get() + static_cast<std::size_t>(row) * columns_; }
    void clearThrough(int row);  // out of line: the reads and writes stay small

    std::unique_ptr<std::uint32_t[]> cells_;
    std::size_t columns_ = 0;
    std::size_t size_ = 0;
    int ready_ = 0;  // rows [0, ready_) are stored
};

}  // namespace rumone
