#pragma once
// A grid of text cells of one fixed size, with grid lines and one focus cell
// drawn selected. The mouse and the arrow keys move the focus cell; the
// program may refuse a move through OnSelectCell. No fixed rows or columns.
// Without a scroll bar the grid is as large as its cells; with the
// horizontal one it shows what fits of its columns and scrolls through them.
// A grid of pictures draws its cells itself through OnDrawCell.

#include "Control.h"

#include <functional>
#include <string>
#include <vector>

class TStringGrid : public TControl {
public:
    TStringGrid(TComponent* owner, TControl* parent, int colCount, int rowCount, int cellSize);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    // Cells of columns that stay keep their text; the focus cell stays
    // inside the grid, at column 0 of an empty one.
    void SetColCount(int colCount);
    const std::string& Cells(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

    // The focus cell; -1, -1 while there is none.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the focus cell without asking OnSelectCell, as the program does.
    void SetFocusCell(int col, int row);
    // No cell has the focus until one is chosen.
    void ClearFocusCell();
    // Moves it as a click or an arrow key does: OnSelectCell first.
    void UserSelectCell(int col, int row);
    // The cell under a client point; false outside every cell.
    bool CellAt(int x, int y, int& col, int& row) const;

    // The horizontal scroll bar; the bounds then set how much shows.
    bool HorizontalScroll() const { return horizontalScroll_; }
    void SetHorizontalScroll(bool scroll);
    // The first column shown.
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int col);
    // Scrolls just enough to show the column.
    void ScrollToCol(int col);

    // Draws a cell instead of its text, over the cell's background (the
    // highlight for the focus cell).
    std::function<void(HDC dc, int col, int row, const RECT& rect, bool focused)> OnDrawCell;

    // canSelect starts true; false keeps the focus cell where it is.
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    bool MoveByKey(WORD key);
    bool Inside(int col, int row) const { return col >= 0 && col < colCount_ && row >= 0 && row < rowCount_; }
    int VisibleCols() const;
    void UpdateScrollBar();
    void Scroll(WORD request);

    int colCount_;
    int rowCount_;
    int cellSize_;
    std::vector<std::string> cells_;
    int col_ = 0;
    int row_ = 0;
    int leftCol_ = 0;
    bool horizontalScroll_ = false;
    HFONT font_ = nullptr;
};
