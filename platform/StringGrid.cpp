#include "platform/StringGrid.h"

#include <algorithm>
#include <cassert>

namespace tablor {

StringGrid::StringGrid(int colCount, int rowCount) {
    setSize(colCount, rowCount);
}

StringGrid::StringGrid(int colCount, int rowCount, ForFilling)
    : widths_(std::size_t(colCount), DefaultColWidth), rowCount_(rowCount) {
    // An eighth more, so that the first records added after a load move no column.
    const std::size_t room = std::size_t(rowCount) + std::size_t(rowCount) / 8 + 64;
    cols_.reserve(std::size_t(colCount));
    for (int c = 0; c < colCount; ++c)
        cols_.emplace_back(std::make_shared<GridColumn>())->reserve(room);
}

void StringGrid::sizeUnset() {
    for (int c = 0; c < ColCount(); ++c)
        own(c).resize(std::size_t(rowCount_));
}

void StringGrid::finishFilling() {
    for (int c = 0; c < ColCount(); ++c)
        own(c).resize(std::size_t(rowCount_), EmptyCell);
}

GridColumn& StringGrid::own(int col) {
    std::shared_ptr<GridColumn>& words = cols_[col];
    if (words.use_count() > 1) {
        // The copy keeps the room to grow that the column had.
        auto mine = std::make_shared<GridColumn>();
        mine->reserve(words->capacity());
        mine->resize(words->size()); // words left unset, then copied in one go
        std::copy(words->begin(), words->end(), mine->begin());
        words = std::move(mine);
    }
    return *words;
}

GridSnapshot StringGrid::snapshot(const GridRect& cells) const {
    GridSnapshot s;
    s.cells_ = cells;
    s.cols_.assign(cols_.begin() + cells.Left, cols_.begin() + cells.Right + 1);
    s.texts_ = arena_;
    return s;
}

void StringGrid::setSize(int cols, int rows) {
    Batch batch(*this);
    setColCount(cols);
    setRowCount(rows);
}

void StringGrid::setColCount(int n) {
    n = std::max(n, 1);
    const int old = ColCount();
    if (n == old) return;
    for (int c = n; c < old; ++c)
        for (CellWord w : *cols_[c])
            release(w);
    cols_.resize(n);
    for (int c = old; c < n; ++c)
        cols_[c] = std::make_shared<GridColumn>(rowCount_, EmptyCell);
    widths_.resize(n, DefaultColWidth);
    clampCurrent();
    maybeCompact();
    notifyReset();
}

void StringGrid::setRowCount(int n) {
    n = std::max(n, 2);
    if (n == rowCount_) return;
    for (int c = 0; c < ColCount(); ++c) {
        GridColumn& col = own(c);
        for (int r = n; r < rowCount_; ++r)
            release(col[r]);
        col.resize(n, EmptyCell);
    }
    const int old = rowCount_;
    rowCount_ = n;
    clampCurrent();
    maybeCompact();
    // Growing tells the view only about the new rows: a million-row view need not start over.
    if (n > old)
        notifyRowsAppended(old);
    else
        notifyReset();
}

void StringGrid::clampCurrent() {
    col_ = std::min(col_, ColCount() - 1);
    row_ = std::min(row_, rowCount_ - 1);
    sel_ = {col_, row_, col_, row_};
}

void StringGrid::setCell(int col, int row, std::string_view text) {
    if (cell(col, row) == text) return;
    CellWord& w = own(col)[row];
    const CellWord fresh = makeCell(text, *arena_);
    release(w);
    w = fresh;
    maybeCompact();
    notifyCell(col, row);
}

void StringGrid::setColWidth(int col, int width) {
    if (widths_[col] == width) return;
    widths_[col] = width;
    if (observer_) observer_->gridColumnWidthChanged(col);
}

void StringGrid::setCol(int col) {
    if (col == col_) return;
    col_ = col;
    sel_ = {col_, row_, col_, row_};
    notifyCurrent();
    fireClick();
}

void StringGrid::setRow(int row) {
    if (row == row_) return;
    row_ = row;
    sel_ = {col_, row_, col_, row_};
    notifyCurrent();
    fireClick();
}

void StringGrid::moveTo(int col, int row) {
    if (col == col_ && row == row_) return;
    col_ = col;
    row_ = row;
    sel_ = {col_, row_, col_, row_};
    notifyCurrent();
    fireClick();
}

void StringGrid::setSelection(const GridRect& r) {
    GridRect s = r;
    s.Top = std::max(s.Top, 1);
    s.Bottom = std::max(s.Bottom, s.Top);
    s.Left = std::clamp(s.Left, 0, ColCount() - 1);
    s.Right = std::clamp(s.Right, s.Left, ColCount() - 1);
    s.Bottom = std::min(s.Bottom, rowCount_ - 1);
    s.Top = std::min(s.Top, s.Bottom);
    sel_ = s;
}

void StringGrid::moveColumn(int from, int to) {
    if (from == to) return;
    auto rotateOne = [&](auto& v) {
        if (from < to)
            std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        else
            std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    };
    rotateOne(cols_);
    rotateOne(widths_);
    notifyReset();
}

std::vector<std::string> StringGrid::rowStrings(int row) const {
    std::vector<std::string> out;
    out.reserve(cols_.size());
    for (const auto& col : cols_)
        out.emplace_back(cellText((*col)[row]));
    return out;
}

void StringGrid::clearRow(int row) {
    Batch batch(*this);
    for (int c = 0; c < ColCount(); ++c)
        setCell(c, row, {});
}

void StringGrid::removeRows(int first, int count, int minRows) {
    assert(first >= 1 && count >= 1 && first + count <= rowCount_);
    for (int c = 0; c < ColCount(); ++c) {
        GridColumn& col = own(c);
        for (int r = first; r < first + count; ++r)
            release(col[r]);
        col.erase(col.begin() + first, col.begin() + first + count);
        col.resize(std::max<std::size_t>(col.size(), minRows), EmptyCell);
    }
    const int old = rowCount_;
    rowCount_ = std::max(rowCount_ - count, minRows);
    // Like any size change, a real one pulls the current cell inside and shrinks the selection;
    // emptying the last rows without dropping any leaves both as they were.
    if (rowCount_ != old) clampCurrent();
    maybeCompact();
    notifyReset();
}

void StringGrid::removeCols(int first, int count, int minCols) {
    assert(first >= 0 && count >= 1 && first + count <= ColCount());
    for (int c = first; c < first + count; ++c)
        for (CellWord w : *cols_[c])
            release(w);
    const int old = ColCount();
    cols_.erase(cols_.begin() + first, cols_.begin() + first + count);
    while (ColCount() < minCols)
        cols_.push_back(std::make_shared<GridColumn>(rowCount_, EmptyCell));
    // Widths stay with their positions: the field that moves in takes the width found there.
    widths_.resize(ColCount());
    if (ColCount() != old) clampCurrent();
    maybeCompact();
    notifyReset();
}

void StringGrid::blankRecords() {
    for (int c = 0; c < ColCount(); ++c) {
        GridColumn& col = own(c);
        for (int r = 1; r < rowCount_; ++r) {
            release(col[r]);
            col[r] = EmptyCell;
        }
    }
    maybeCompact();
    notifyReset();
}

void StringGrid::permuteRecords(ScratchArray<int> order) {
    assert(static_cast<int>(order.size()) == rowCount_ - 1);
    // Each column is gathered into a spare one that then takes its place; the column left over
    // is the spare for the next, so one spare serves them all and no words are copied back. A
    // column a snapshot shares stays with the snapshot, and the next column gets a new spare.
    auto spare = std::make_shared<GridColumn>();
    for (auto& col : cols_) {
        if (spare->capacity() < col->capacity()) {
            *spare = {};
            spare->reserve(col->capacity());
        }
        spare->resize(col->size());
        GridColumn& to = *spare;
        const GridColumn& from = *col;
        to[0] = from[0];
        for (std::size_t i = 0; i < order.size(); ++i)
            to[i + 1] = from[order[i] + 1];
        col.swap(spare);
        if (spare.use_count() > 1) spare = std::make_shared<GridColumn>();
    }
    spare.reset();
    order.reset();
    // The long texts were in the old order; scans and saves read them fastest in the new one.
    relayTexts();
    notifyReset();
}

void StringGrid::assign(StringGrid&& other) {
    cols_ = std::move(other.cols_);
    widths_ = std::move(other.widths_);
    rowCount_ = other.rowCount_;
    arena_ = std::exchange(other.arena_, std::make_shared<TextArena>());
    other.cols_.clear();
    other.widths_.clear();
    col_ = 0;
    row_ = 1;
    sel_ = {0, 1, 0, 1};
    notifyReset();
}

std::size_t StringGrid::memoryBytes() const {
    std::size_t n = arena_->liveBytes() + arena_->garbageBytes();
    for (const auto& col : cols_)
        n += col->capacity() * sizeof(CellWord);
    return n;
}

void StringGrid::maybeCompact() {
    // Edits leave old long texts behind in the arena; copy the live ones out once the garbage
    // outweighs them, so memory stays proportional to the table.
    const std::size_t garbage = arena_->garbageBytes();
    if (garbage < (std::size_t{16} << 20) || garbage < arena_->liveBytes()) return;
    relayTexts();
}

void StringGrid::relayTexts() {
    if (arena_->liveBytes() == 0) return;
    // Every long word is rewritten: the columns must be the grid's own.
    std::vector<CellWord*> cols;
    cols.reserve(cols_.size());
    for (int c = 0; c < ColCount(); ++c)
        cols.push_back(own(c).data());
    auto fresh = std::make_shared<TextArena>();
    // The texts lie anywhere: ask for those of a few rows ahead while copying these.
    constexpr int Ahead = 8;
    for (int r = 0; r < rowCount_; ++r) {
        if (r + Ahead < rowCount_)
            for (const CellWord* col : cols)
                if (const CellWord w = col[r + Ahead]; !isInline(w))
                    __builtin_prefetch(longTextAt(w));
        for (CellWord* col : cols)
            if (CellWord& w = col[r]; !isInline(w)) w = fresh->store(cellText(w));
    }
    // The old arena goes, unless a snapshot still reads it.
    arena_ = std::move(fresh);
}

void StringGrid::notifyCell(int col, int row) {
    if (batchDepth_ > 0) {
        batchDirty_ = true;
        return;
    }
    if (observer_) observer_->gridCellChanged(col, row);
}

void StringGrid::notifyReset() {
    if (batchDepth_ > 0) {
        batchDirty_ = true;
        return;
    }
    if (observer_) observer_->gridReset();
}

void StringGrid::notifyRowsAppended(int first) {
    if (batchDepth_ > 0) {
        batchDirty_ = true;
        return;
    }
    if (observer_) observer_->gridRowsAppended(first);
}

void StringGrid::notifyCurrent() {
    if (observer_) observer_->gridCurrentChanged();
}

void StringGrid::fireClick() {
    if (onClick) onClick();
}

} // namespace tablor
