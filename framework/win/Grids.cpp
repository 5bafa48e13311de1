#include "Grids.h"


#include <windowsx.h>

namespace {
constexpr int GridLineWidth = 1;
}

TStringGrid::TStringGrid(TComponent* owner, TControl* parent, int colCount, int rowCount, int cellSize)
    : TControl(owner, parent), colCount_(colCount), rowCount_(rowCount), cellSize_(cellSize),
      cells_(static_cast<size_t>(colCount) * rowCount)
{
    CreateHandle(RegisterPlainClass("QuilloStringGrid", CS_DBLCLKS, COLOR_WINDOW), WS_VISIBLE | WS_TABSTOP,
                 WS_EX_CLIENTEDGE);
    // Room for every cell and the grid lines between them, inside the edge.
    const int pitch = cellSize + GridLineWidth;
    SetBounds(0, 0, colCount * pitch + 4, rowCount * pitch + 4);
}

const std::string& TStringGrid::Cells(int col, int row) const
{
    static const std::string none;
    return Inside(col, row) ? cells_[static_cast<size_t>(row) * colCount_ + col] : none;
}

void TStringGrid::SetCell(int col, int row, const std::string& text)
{
    if (!Inside(col, row))
        return;
    cells_[static_cast<size_t>(row) * colCount_ + col] = text;
    Invalidate();
}

void TStringGrid::SetFocusCell(int col, int row)
{
    if (!Inside(col, row))
        return;
    col_ = col;
    row_ = row;
    Invalidate();
}

void TStringGrid::UserSelectCell(int col, int row)
{
    if (!Inside(col, row))
        return;
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(col, row, canSelect);
    if (canSelect)
        SetFocusCell(col, row);
}

bool TStringGrid::CellAt(int x, int y, int& col, int& row) const
{
    const int pitch = cellSize_ + GridLineWidth;
    if (x < 0 || y < 0)
        return false;
    col = x / pitch;
    row = y / pitch;
    return Inside(col, row);
}

bool TStringGrid::MoveByKey(WORD key)
{
    switch (key) {
    case VK_LEFT:
        UserSelectCell(col_ - 1, row_);
        return true;
    case VK_RIGHT:
        UserSelectCell(col_ + 1, row_);
        return true;
    case VK_UP:
        UserSelectCell(col_, row_ - 1);
        return true;
    case VK_DOWN:
        UserSelectCell(col_, row_ + 1);
        return true;
    default:
        return false;
    }
}

void TStringGrid::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    const RECT client = ClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const int pitch = cellSize_ + GridLineWidth;
    for (int row = 0; row < rowCount_; ++row) {
        for (int col = 0; col < colCount_; ++col) {
            RECT cell{col * pitch, row * pitch, col * pitch + cellSize_, row * pitch + cellSize_};
            const bool focus = col == col_ && row == row_;
            FillRect(dc, &cell, GetSysColorBrush(focus ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(focus ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            const std::string& text = Cells(col, row);
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (focus && GetFocus() == Handle())
                DrawFocusRect(dc, &cell);
        }
    }
    // The grid lines, right of and below every cell.
    for (int i = 1; i <= colCount_; ++i) {
        RECT line{i * pitch - GridLineWidth, 0, i * pitch, rowCount_ * pitch};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
    for (int i = 1; i <= rowCount_; ++i) {
        RECT line{0, i * pitch - GridLineWidth, colCount_ * pitch, i * pitch};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &paint);
}

LRESULT TStringGrid::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; AnswerFontMessage(font_, message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus();
        int col = 0;
        int row = 0;
        if (CellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), col, row))
            UserSelectCell(col, row);
        break;
    }
    case WM_KEYDOWN:
        if (MoveByKey(static_cast<WORD>(wParam)))
            return 0;
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}
