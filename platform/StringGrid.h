#pragma once
// The grid's store: the cells of the table, its size, column widths, current cell and selection.
// It is the table itself, not a view of another array; the Qt view only shows it. Qt-free.
//
// Cells are 8-bit Windows-1252 bytes. Column c, row r; row 0 holds the field names.
// Cells are kept column by column, so moving a column, adding one and permuting rows are cheap.

#include "platform/CellText.h"
#include "platform/HugePages.h"
#include "platform/ScratchArray.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tablor {

struct GridRect {
    int Left = 0, Top = 1, Right = 0, Bottom = 1;
    bool operator==(const GridRect&) const = default;
};

// The words of one column, row by row.
using GridColumn = std::vector<CellWord, BigAllocator<CellWord>>;

// A range of the grid as it was when taken, whatever the grid does afterwards, even once it is
// gone: it shares the columns and the text arena of the range, and the grid copies a shared
// column before it changes it. Taking one costs a few pointers.
class GridSnapshot {
public:
    const GridRect& cells() const { return cells_; }
    // A cell of the range, in the grid's numbering.
    std::string_view cell(int col, int row) const {
        return cellText((*cols_[col - cells_.Left])[row]);
    }

private:
    friend class StringGrid;
    GridRect cells_;
    std::vector<std::shared_ptr<const GridColumn>> cols_;
    std::shared_ptr<const TextArena> texts_;
};

// What a view of the grid wants to hear about. Every call comes after the change.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void gridCellChanged(int col, int row) = 0;
    // Size, many cells or the order of columns changed: show everything anew.
    virtual void gridReset() = 0;
    // Records were added at the end, from row `first`; nothing else changed but the current
    // cell and selection, which the view reads again.
    virtual void gridRowsAppended(int first) = 0;
    virtual void gridColumnWidthChanged(int col) = 0;
    virtual void gridCurrentChanged() = 0;
};

class StringGrid {
public:
    static constexpr int DefaultColWidth = 64;
    static constexpr int RowHeight = 18;

    StringGrid(int colCount = 10, int rowCount = 2);
    // A grid of that size whose cells are then added in row order, each word written once: the
    // readers' way to fill millions of cells. Its columns have room for every row and hold no
    // cell yet; appendCell adds the next cell of a column, finishFilling makes the cells not
    // added empty. Nothing else may be asked of the grid in between.
    struct ForFilling {};
    StringGrid(int colCount, int rowCount, ForFilling);
    StringGrid(const StringGrid&) = delete;
    StringGrid& operator=(const StringGrid&) = delete;

    int ColCount() const { return static_cast<int>(cols_.size()); }
    int RowCount() const { return rowCount_; }
    // Size changes keep every remaining cell; new cells are empty, new columns 64 wide; a
    // current cell left outside moves to the last column or row and the selection shrinks to it.
    void setColCount(int n);
    void setRowCount(int n);
    // Sets both, allocating once; used by the reader for a fresh grid.
    void setSize(int cols, int rows);

    // The view is valid until the next change of the grid.
    std::string_view cell(int col, int row) const { return cellText((*cols_[col])[row]); }
    std::string cellString(int col, int row) const { return std::string(cell(col, row)); }
    void setCell(int col, int row, std::string_view text);
    // The filling of a grid made ForFilling: nobody is told, and no snapshot can share it yet.
    void appendCell(int col, std::string_view text) {
        cols_[col]->push_back(makeCell(text, *arena_));
    }
    void finishFilling();
    // Or, for a reader that fills from several threads: every column takes its full size at
    // once with its words unset, each then written once through unsetColumn (texts from
    // texts(), or from the arenas of other threads, merged by adoptTexts) before finishFilling.
    void sizeUnset();
    CellWord* unsetColumn(int col) { return cols_[col]->data(); }
    TextArena& texts() { return *arena_; }
    void adoptTexts(TextArena&& more) { arena_->adopt(std::move(more)); }

    int colWidth(int col) const { return widths_[col]; }
    void setColWidth(int col, int width);

    // Current cell. Rows start at 1: the header row is never current.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Setting a new value makes the selection that single cell and fires onClick;
    // setting the present value does nothing.
    void setCol(int col);
    void setRow(int row);
    // A user's move (mouse or keyboard): both at once, one notification.
    void moveTo(int col, int row);

    const GridRect& Selection() const { return sel_; }
    // Selection set by the user (range); it always holds the current cell, never row 0.
    void setSelection(const GridRect& r);

    // Moves column `from` to position `to`, shifting those between; cells and width travel.
    void moveColumn(int from, int to);

    // Whole rows.
    std::vector<std::string> rowStrings(int row) const;
    void clearRow(int row);

    // Bulk edits for the table commands: each notifies the view once.
    // Removes rows first..first+count-1 by moving the rows below up; blanks the freed rows and
    // drops them, never below `minRows` rows.
    void removeRows(int first, int count, int minRows);
    void removeCols(int first, int count, int minCols);
    void blankRecords();
    // Reorders the records: record i+1 becomes the old record order[i]+1 (order is 0-based).
    // The order is freed once the words have moved, before the long texts are laid out again in
    // the new order, so that a big table never holds both at once.
    void permuteRecords(ScratchArray<int> order);
    // Raw access to one column's words, for fast scans (sort keys, search).
    std::span<const CellWord> column(int col) const { return *cols_[col]; }

    // The cells of `cells` as they are now, for as long as the snapshot lives.
    GridSnapshot snapshot(const GridRect& cells) const;

    // Takes the other grid's size, cells and widths (a freshly read table); keeps observers
    // and the click handler. The current cell goes to (0, 1) without a click notification.
    void assign(StringGrid&& other);

    // Bytes held by the cells, for the memory figures.
    std::size_t memoryBytes() const;

    // Groups many changes into one view notification.
    class Batch {
    public:
        explicit Batch(StringGrid& g) : g_(g) { ++g_.batchDepth_; }
        ~Batch() {
            if (--g_.batchDepth_ == 0 && g_.batchDirty_) {
                g_.batchDirty_ = false;
                g_.notifyReset();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        StringGrid& g_;
    };

    void setObserver(GridObserver* o) { observer_ = o; }
    // Fired when the current cell really moves (StringGrid1Click).
    std::function<void()> onClick;

private:
    void release(CellWord w) { arena_->release(w); }
    // The column, first copied when a snapshot shares it: every change of a column's words
    // goes through here.
    GridColumn& own(int col);
    void maybeCompact();
    // Copies the live long texts into a fresh arena, record by record as a file holds them,
    // leaving the garbage behind.
    void relayTexts();
    void clampCurrent();
    void notifyCell(int col, int row);
    void notifyReset();
    void notifyRowsAppended(int first);
    void notifyCurrent();
    void fireClick();

    // Shared with the snapshots taken since the column last changed.
    std::vector<std::shared_ptr<GridColumn>> cols_;
    std::vector<int> widths_;
    int rowCount_ = 2;
    int col_ = 0, row_ = 1;
    GridRect sel_;
    // Shared with the snapshots too: texts are only ever added to an arena, and one that is
    // compacted or replaced is left to the snapshots that still read it.
    std::shared_ptr<TextArena> arena_ = std::make_shared<TextArena>();
    GridObserver* observer_ = nullptr;
    int batchDepth_ = 0;
    bool batchDirty_ = false;
};

} // namespace tablor
