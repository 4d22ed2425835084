#pragma once
// The flex grid of the settings, report and dive-information windows: a table of text
// cells addressed the classic way, built on QTableWidget.
//
// Rows and columns count from 0. With one fixed row (the default) row 0 is the heading
// row: it is drawn as the table's horizontal header, stays in view while the data rows
// scroll, cannot be selected and is set and read through TextMatrix like any other row.
// Data rows are 1 .. Rows() - 1. With FixedRows 0 every row is a data row and no header
// is shown. There are no fixed columns.
//
//   FlexGrid g;                       // Rows 1 (the heading), Cols 2
//   g.SetRows(3);                     // heading + two data rows, new cells ""
//   g.SetTextMatrix(0, 0, "Depth");   // heading of column 0
//   g.SetTextMatrix(1, 0, "21");
//   g.SetColWidth(0, 1200);           // twips (15 per pixel)
//   g.SetCol(0); g.Sort();            // data rows ascending by column 0, numbers as numbers
//
// Cells are also addressed by one flat index, row x Cols() + column (TextArray), the
// way the dive-information window walks a summary grid. An index outside the grid is
// error 9 (RuntimeError), as any list of the program.
//
// Row()/Col() are the current cell (set in code, or by the diver's click or arrow keys);
// RowSel() is the other end of the selected rows, equal to Row() unless the code set it.
// Moving the current cell in code selects it. Setting Row 0 (the heading) is allowed in
// code and selects nothing.
//
// The grid's cells are not edited by Qt's own editors: a window lays its own editor over
// CellRect() and writes the text back (the classic way, with the window's own checks).
// Cell styles (bold, colour) are set on CellItem().

#include <QTableWidget>

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);

    // Row count, heading row included; at least FixedRows(). Growing adds empty rows at the
    // end, shrinking drops the last rows. The current cell stays within the grid.
    int Rows() const;
    void SetRows(int rows);
    int Cols() const;
    void SetCols(int cols);
    // 1 (row 0 is the heading row) or 0 (no heading row).
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int fixedRows);

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString &text);

    // The cell of the flat index row x Cols() + col.
    int CellIndex(int row, int col) const { return row * Cols() + col; }
    QString TextArray(int index) const;
    void SetTextArray(int index, const QString &text);

    // The current cell.
    int Row() const { return row_; }
    void SetRow(int row);
    int Col() const { return col_; }
    void SetCol(int col);
    int RowSel() const { return rowSel_; }
    void SetRowSel(int row);
    // Text of the current cell.
    QString Text() const { return TextMatrix(row_, col_); }
    void SetText(const QString &text) { SetTextMatrix(row_, col_, text); }

    // Column width in twips; the width is kept in whole pixels, so a width reads back
    // rounded to 15 twips.
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    // Width of the area the cells are drawn in (without frame and vertical scroll bar), twips.
    int ClientWidth() const;

    // Removes data row `row`; the heading row cannot be removed (error 5).
    void RemoveItem(int row);

    // The ascending sort of the data rows (all rows below the heading) by the current
    // column: two numbers in the locale's notation compare as numbers (so "9" before
    // "10" and "2,5" between them under a German locale), numbers come before other
    // texts, and other texts compare without regard to case. Rows that compare equal
    // keep their order. Whole rows move, cell styles included.
    void Sort();
    // The order Sort uses: true when `a` sorts before `b`.
    static bool SortsBefore(const QString &a, const QString &b);

    // A data cell's item for its style, created on first use; nullptr for the heading row
    // (its item is horizontalHeaderItem). Error 9 outside the grid.
    QTableWidgetItem *CellItem(int row, int col);
    // The cell's rectangle in the grid widget's pixels (where a window lays its editor);
    // an empty rectangle for a cell scrolled out of view.
    QRect CellRect(int row, int col) const;

private:
    void checkCell(int row, int col, const char *source) const;
    void showCurrent();
    void followUser(int tableRow, int col);

    int fixedRows_ = 1;
    int row_ = 0;
    int col_ = 0;
    int rowSel_ = 0;
    bool settingCurrent_ = false;
};
