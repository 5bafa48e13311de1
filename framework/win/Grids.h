#pragma once
// A grid of text cells of one fixed size, with grid lines and one focus cell
// drawn selected. The mouse and the arrow keys move the focus cell; the
// program may refuse a move through OnSelectCell. No fixed rows or columns,
// no scroll bars: the grid is as large as its cells.

#include "Control.h"

#include <functional>
#include <string>
#include <vector>

class TStringGrid : public TControl {
public:
    TStringGrid(TComponent* owner, TControl* parent, int colCount, int rowCount, int cellSize);

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    const std::string& Cells(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

    // The focus cell.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Moves the focus cell without asking OnSelectCell, as the program does.
    void SetFocusCell(int col, int row);
    // Moves it as a click or an arrow key does: OnSelectCell first.
    void UserSelectCell(int col, int row);
    // The cell under a client point; false outside every cell.
    bool CellAt(int x, int y, int& col, int& row) const;

    // canSelect starts true; false keeps the focus cell where it is.
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    bool MoveByKey(WORD key);
    bool Inside(int col, int row) const { return col >= 0 && col < colCount_ && row >= 0 && row < rowCount_; }

    int colCount_;
    int rowCount_;
    int cellSize_;
    std::vector<std::string> cells_;
    int col_ = 0;
    int row_ = 0;
    HFONT font_ = nullptr;
};
