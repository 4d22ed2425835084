#include "platform/FlexGrid.h"

#include "engine/LibraryModule.h"
#include "engine/RuntimeError.h"
#include "platform/Twips.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>
#include <vector>

FlexGrid::FlexGrid(QWidget *parent) : QTableWidget(parent)
{
    setColumnCount(2);
    setRowCount(0);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows as tight as the classic grid's: one line of text and a little air.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    for (int c = 0; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int tableRow, int col, int, int) { followUser(tableRow, col); });
}

int FlexGrid::Rows() const
{
    return rowCount() + fixedRows_;
}

void FlexGrid::SetRows(int rows)
{
    setRowCount(std::max(rows, fixedRows_) - fixedRows_);
    row_ = std::min(row_, Rows() - 1);
    rowSel_ = std::min(rowSel_, Rows() - 1);
}

int FlexGrid::Cols() const
{
    return columnCount();
}

void FlexGrid::SetCols(int cols)
{
    const int old = columnCount();
    setColumnCount(std::max(cols, 1));
    for (int c = old; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    col_ = std::min(col_, Cols() - 1);
}

void FlexGrid::SetFixedRows(int fixedRows)
{
    fixedRows = std::clamp(fixedRows, 0, 1);
    if (fixedRows == fixedRows_)
        return;
    const int rows = Rows();
    fixedRows_ = fixedRows;
    horizontalHeader()->setVisible(fixedRows_ == 1);
    SetRows(rows);
}

void FlexGrid::checkCell(int row, int col, const char *source) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        throwSubscript(source);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkCell(row, col, "FlexGrid.TextMatrix");
    const QTableWidgetItem *it = row < fixedRows_ ? horizontalHeaderItem(col) : item(row - fixedRows_, col);
    return it ? it->text() : QString();
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text)
{
    checkCell(row, col, "FlexGrid.TextMatrix");
    if (row < fixedRows_) {
        horizontalHeaderItem(col)->setText(text);
        return;
    }
    CellItem(row, col)->setText(text);
}

QString FlexGrid::TextArray(int index) const
{
    if (index < 0)
        throwSubscript("FlexGrid.TextArray");
    return TextMatrix(index / Cols(), index % Cols());
}

void FlexGrid::SetTextArray(int index, const QString &text)
{
    if (index < 0)
        throwSubscript("FlexGrid.TextArray");
    SetTextMatrix(index / Cols(), index % Cols(), text);
}

QTableWidgetItem *FlexGrid::CellItem(int row, int col)
{
    checkCell(row, col, "FlexGrid.CellItem");
    if (row < fixedRows_)
        return nullptr;
    QTableWidgetItem *it = item(row - fixedRows_, col);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(row - fixedRows_, col, it);
    }
    return it;
}

void FlexGrid::SetRow(int row)
{
    checkCell(row, col_, "FlexGrid.Row");
    row_ = rowSel_ = row;
    showCurrent();
}

void FlexGrid::SetCol(int col)
{
    checkCell(row_, col, "FlexGrid.Col");
    col_ = col;
    showCurrent();
}

void FlexGrid::SetRowSel(int row)
{
    checkCell(row, col_, "FlexGrid.RowSel");
    rowSel_ = row;
    clearSelection();
    const int top = std::max(std::min(row_, rowSel_), fixedRows_);
    const int bottom = std::max(row_, rowSel_);
    if (bottom >= fixedRows_)
        setRangeSelected(QTableWidgetSelectionRange(top - fixedRows_, col_, bottom - fixedRows_, col_), true);
}

// The current cell set in code becomes Qt's current cell too, so the diver's arrow keys
// go on from it; the heading row has no Qt cell.
void FlexGrid::showCurrent()
{
    settingCurrent_ = true;
    if (row_ >= fixedRows_)
        setCurrentCell(row_ - fixedRows_, col_);
    else
        clearSelection();
    settingCurrent_ = false;
}

void FlexGrid::followUser(int tableRow, int col)
{
    if (settingCurrent_ || tableRow < 0 || col < 0)
        return;
    row_ = rowSel_ = tableRow + fixedRows_;
    col_ = col;
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= Cols())
        throwSubscript("FlexGrid.ColWidth");
    return static_cast<int>(PixelsToTwips(columnWidth(col)));
}

void FlexGrid::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        throwSubscript("FlexGrid.ColWidth");
    setColumnWidth(col, std::max(TwipsToPixels(twips), 0));
}

int FlexGrid::ClientWidth() const
{
    int pixels = width() - 2 * frameWidth();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
        || (verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && verticalScrollBar()->isVisible()))
        pixels -= verticalScrollBar()->sizeHint().width();
    return static_cast<int>(PixelsToTwips(std::max(pixels, 0)));
}

void FlexGrid::RemoveItem(int row)
{
    checkCell(row, 0, "FlexGrid.RemoveItem");
    if (row < fixedRows_)
        throw RuntimeError(ErrInvalidCall, "FlexGrid.RemoveItem", "Invalid procedure call or argument");
    removeRow(row - fixedRows_);
    row_ = std::min(row_, Rows() - 1);
    rowSel_ = std::min(rowSel_, Rows() - 1);
}

bool FlexGrid::SortsBefore(const QString &a, const QString &b)
{
    const std::string sa = a.toStdString(), sb = b.toStdString();
    const bool na = IsLocaleNumber(sa), nb = IsLocaleNumber(sb);
    if (na && nb)
        return LocaleVal(sa) < LocaleVal(sb);
    if (na != nb)
        return na;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

void FlexGrid::Sort()
{
    const int dataRows = rowCount();
    const int cols = columnCount();
    std::vector<std::vector<QTableWidgetItem *>> rows(static_cast<size_t>(dataRows), std::vector<QTableWidgetItem *>(static_cast<size_t>(cols)));
    for (int r = 0; r < dataRows; ++r)
        for (int c = 0; c < cols; ++c)
            rows[size_t(r)][size_t(c)] = takeItem(r, c);
    const auto key = [this](const std::vector<QTableWidgetItem *> &row) {
        const QTableWidgetItem *it = row[size_t(col_)];
        return it ? it->text() : QString();
    };
    std::stable_sort(rows.begin(), rows.end(),
                     [&](const auto &x, const auto &y) { return SortsBefore(key(x), key(y)); });
    for (int r = 0; r < dataRows; ++r)
        for (int c = 0; c < cols; ++c)
            if (QTableWidgetItem *it = rows[size_t(r)][size_t(c)])
                setItem(r, c, it);
}

QRect FlexGrid::CellRect(int row, int col) const
{
    checkCell(row, col, "FlexGrid.CellRect");
    if (row < fixedRows_) {
        const QHeaderView *h = horizontalHeader();
        return QRect(h->geometry().left() + h->sectionViewportPosition(col), h->geometry().top(),
                     h->sectionSize(col), h->height());
    }
    QRect r = visualRect(model()->index(row - fixedRows_, col));
    if (!viewport()->rect().intersects(r))
        return QRect();
    return r.translated(viewport()->geometry().topLeft());
}
