// Editing the rate grids and the switch grid in place, and the row menu of every grid.
// Nothing reaches the record here: OK reads the grids back.

#include "settings/frmProperties.h"

#include "engine/DOLVmiscModule.h"
#include "engine/EngineGlobals.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "platform/ErrorModule.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace {

// The classic key codes of an open editor.
constexpr int kKeyEnter = 13;
constexpr int kKeyEsc = 27;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

// Marks the gas cell of a switch row added in this dialog (the mark moves with the row).
constexpr int kAddedHere = Qt::UserRole + 1;

// The character a key types, as the classic KeyAscii: Enter 13, Backspace 8, a printable
// character its code; -1 for keys that type nothing (arrows, Esc, Tab, shortcuts), which
// keep their usual meaning in the grid and the dialog.
int keyAscii(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return -1;
    default: break;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    const QString text = key->text();
    if (text.isEmpty() || text.at(0) < QChar(u' '))
        return -1;
    return text.at(0).unicode();
}

int editorKeyCode(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_Escape: return kKeyEsc;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Down: return kKeyDown;
    default: return -1;
    }
}

// The cell an editor was opened on: the commit writes there, wherever the grid's
// current cell has moved since.
void rememberCell(QWidget *editor, int row, int col)
{
    editor->setProperty("row", row);
    editor->setProperty("col", col);
}

int editedRow(const QWidget *editor)
{
    return editor->property("row").toInt();
}

int editedCol(const QWidget *editor)
{
    return editor->property("col").toInt();
}

} // namespace

void frmProperties::createGridEditors()
{
    tbDescend = new QLineEdit(fgDescend);
    tbDescend->setObjectName(QStringLiteral("tbDescend"));
    tbAscend = new QLineEdit(fgAscend);
    tbAscend->setObjectName(QStringLiteral("tbAscend"));
    tbGasChange = new QLineEdit(fgGasChange);
    tbGasChange->setObjectName(QStringLiteral("tbGasChange"));
    cbGasChange = new QComboBox(fgGasChange);
    cbGasChange->setObjectName(QStringLiteral("cbGasChange"));
    for (QWidget *editor : std::initializer_list<QWidget *>{tbDescend, tbAscend, tbGasChange, cbGasChange}) {
        editor->hide();
        editor->installEventFilter(this);
    }
    connect(cbGasChange, &QComboBox::activated, this,
            [this] { RunGuarded("frmProperties.cbGasChange_Click", [this] { cbGasChange_Click(); }); });

    mnuRows = new QMenu(this);
    mnuRows->setObjectName(QStringLiteral("mnuRows"));
    AddRow = mnuRows->addAction(IdText(1625));
    AddRow->setObjectName(QStringLiteral("AddRow"));
    DelRow = mnuRows->addAction(IdText(1626));
    DelRow->setObjectName(QStringLiteral("DelRow"));
    connect(AddRow, &QAction::triggered, this,
            [this] { RunGuarded("frmProperties.AddRow_Click", [this] { AddRow_Click(); }); });
    connect(DelRow, &QAction::triggered, this,
            [this] { RunGuarded("frmProperties.DelRow_Click", [this] { DelRow_Click(); }); });
    // The gas list's menu offers no new row (gases come from the custom-gas dialog).
    connect(mnuRows, &QMenu::aboutToHide, this, [this] {
        AddRow->setEnabled(true);
        AddRow->setVisible(true);
    });

    // The gas list's heading row is the table's header: a click there is a click on row 0.
    FgGas->horizontalHeader()->viewport()->installEventFilter(this);
    for (FlexGrid *grid : {fgDescend, fgAscend, fgGasChange, FgGas}) {
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
        // After the grid's own follow-up of the current cell.
        connect(grid, &QTableWidget::currentCellChanged, this, [this, grid] {
            RunGuarded("frmProperties.LeaveCell", [this, grid] { gridLeaveCell(grid); });
        });
    }
}

bool frmProperties::eventFilter(QObject *watched, QEvent *event)
{
    if (FgGas && watched == FgGas->horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // The heading row lies above the data rows: a negative Y.
            RunGuarded("frmProperties.FgGas_MouseDown", [&] { FgGas_MouseDown(1, 0, 0, -1); });
        }
        return false;
    }
    for (FlexGrid *grid : {fgDescend, fgAscend, fgGasChange, FgGas}) {
        if (!grid)
            break;
        if (watched == grid) {
            if (event->type() == QEvent::FocusIn) {
                RunGuarded("frmProperties.GotFocus", [this, grid] { gridGotFocus(grid); });
            } else if (event->type() == QEvent::KeyPress) {
                const int ascii = keyAscii(static_cast<QKeyEvent *>(event));
                bool opened = false;
                if (ascii >= 0)
                    RunGuarded("frmProperties.KeyPress", [&] { opened = gridKeyPress(grid, ascii); });
                return opened;
            }
            return false;
        }
        if (watched == grid->viewport()) {
            if (event->type() == QEvent::MouseButtonPress) {
                const auto *mouse = static_cast<QMouseEvent *>(event);
                const QPoint pos = mouse->position().toPoint();
                if (mouse->button() == Qt::RightButton) {
                    RunGuarded("frmProperties.MouseDown", [&] { gridMouseDown(grid, 2, pos); });
                    return true;
                }
                if (grid == FgGas)
                    RunGuarded("frmProperties.FgGas_MouseDown", [&] { FgGas_MouseDown(1, 0, pos.x(), pos.y()); });
            } else if (event->type() == QEvent::MouseButtonDblClick
                       && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                RunGuarded("frmProperties.DblClick", [this, grid] { gridDblClick(grid); });
            }
            return false;
        }
    }
    // The switch's gas list: Esc drops it and Enter takes the gas shown, as in the text
    // editors; neither reaches the dialog's buttons (Esc would cancel every page).
    if (cbGasChange && watched == cbGasChange && event->type() == QEvent::KeyPress) {
        const int code = editorKeyCode(static_cast<QKeyEvent *>(event));
        if (code != kKeyEsc && code != kKeyEnter)
            return false;
        RunGuarded("frmProperties.cbGasChange_KeyDown", [&] {
            closeGasList(code == kKeyEnter);
            fgGasChange->setFocus();
        });
        return true;
    }
    for (QLineEdit *edit : {tbDescend, tbAscend, tbGasChange}) {
        if (edit && watched == edit && event->type() == QEvent::KeyPress) {
            const int code = editorKeyCode(static_cast<QKeyEvent *>(event));
            if (code < 0)
                return false;
            FlexGrid *grid = static_cast<FlexGrid *>(edit->parentWidget());
            RunGuarded("frmProperties.KeyDown", [&] { EditKeyCode(grid, edit, code, 0); });
            return true; // Enter and Esc belong to the editor, not to the dialog's buttons
        }
    }
    return QDialog::eventFilter(watched, event);
}

QLineEdit *frmProperties::editorOf(const FlexGrid *grid) const
{
    if (grid == fgDescend)
        return tbDescend;
    if (grid == fgAscend)
        return tbAscend;
    if (grid == fgGasChange)
        return tbGasChange;
    return nullptr;
}

// Automatic switch depths are computed: the diver does not edit the switch grid then.
bool frmProperties::gasChangeLocked() const
{
    return cbAutoDecoGas->isChecked();
}

void frmProperties::MSFlexGridEdit(FlexGrid *MSFlexGrid, QLineEdit *Edt, int KeyAscii)
{
    const int row = MSFlexGrid->Row(), col = MSFlexGrid->Col();
    if (row < MSFlexGrid->FixedRows())
        return; // the heading row is not edited
    MSFlexGrid->scrollToItem(MSFlexGrid->CellItem(row, col));
    Edt->setText(MSFlexGrid->TextMatrix(row, col));
    rememberCell(Edt, row, col);
    Edt->setGeometry(MSFlexGrid->CellRect(row, col));
    Edt->show();
    Edt->raise();
    Edt->setFocus();
    if (KeyAscii >= 0 && KeyAscii <= 32) {
        Edt->deselect();
        Edt->end(false);
    } else {
        Edt->selectAll();
    }
}

void frmProperties::GasChangeEdit(FlexGrid *MSFlexGrid, QComboBox *Edt)
{
    const int row = MSFlexGrid->Row(), col = MSFlexGrid->Col();
    if (row < MSFlexGrid->FixedRows())
        return;
    MSFlexGrid->scrollToItem(MSFlexGrid->CellItem(row, col));
    const QRect cell = MSFlexGrid->CellRect(row, col);
    rememberCell(Edt, row, col);
    Edt->setGeometry(cell.left(), cell.top(), cell.width(), Edt->sizeHint().height());
    Edt->show();
    Edt->raise();
    Edt->setFocus();
}

void frmProperties::EditKeyCode(FlexGrid *MSFlexGrid, QLineEdit *Edt, int KeyCode, int)
{
    // The focus going back to the grid commits; the grid's focus reaction does it, and
    // it is done here too when the window is not the active one (no focus event then).
    const auto backToGrid = [&] {
        MSFlexGrid->setFocus();
        if (!Edt->isHidden())
            gridGotFocus(MSFlexGrid);
    };
    switch (KeyCode) {
    case kKeyEnter: backToGrid(); break;
    case kKeyEsc:
        Edt->clearFocus();
        Edt->hide();
        MSFlexGrid->setFocus();
        break;
    case kKeyUp:
        backToGrid();
        QApplication::processEvents();
        if (MSFlexGrid->Row() > MSFlexGrid->FixedRows())
            MSFlexGrid->SetRow(MSFlexGrid->Row() - 1);
        break;
    case kKeyDown:
        backToGrid();
        QApplication::processEvents();
        if (MSFlexGrid->Row() < MSFlexGrid->Rows() - 1)
            MSFlexGrid->SetRow(MSFlexGrid->Row() + 1);
        break;
    default: break;
    }
}

// The list shows the gas of the switch it is opened on (none when that gas is no longer
// in the list), so opening and leaving it changes nothing.
void frmProperties::FillGasChangeCombo()
{
    cbGasChange->clear();
    for (const GasRecord &gas : record().Gases)
        cbGasChange->addItem(QString::fromStdString(gas.Name));
    const QString own = fgGasChange->TextMatrix(fgGasChange->Row(), 1);
    cbGasChange->setCurrentIndex(cbGasChange->findText(own, Qt::MatchExactly | Qt::MatchCaseSensitive));
    cbGasChange->setProperty("gas", own);
}

// A refusal while the focus moves: the box comes after the focus change has finished,
// so it cannot start a second commit.
void frmProperties::refuse(int16_t message)
{
    QTimer::singleShot(0, this, [message] { MsgBox(GetLangStringQ(message), vbExclamation | vbOKOnly, GetLangStringQ(1600)); });
}

// The commit of a number cell: the typed text reduced to digits and the decimal
// separator, an emptied cell the placeholder. Refused, keeping the cell's text: a first
// band (row 1 of a rate grid) that does not start at "0", and a text that is no number
// after the reduction (two separators). False when refused.
bool frmProperties::commitNumberCell(FlexGrid *grid, QLineEdit *Edt)
{
    if (Edt->isHidden())
        return true;
    const int row = editedRow(Edt), col = editedCol(Edt);
    const QString typed = Edt->text();
    Edt->hide();
    if (row < grid->FixedRows() || row >= grid->Rows() || col >= grid->Cols())
        return true;
    if (grid != fgGasChange && row == 1 && col == 0 && typed != QStringLiteral("0")) {
        refuse(1655);
        return false;
    }
    const QString purged = PurgeNumericInput(typed);
    // Depths can hold thousands (3300 ft), rates cannot. The cell keeps the number in the
    // user's own notation, so every later reading (sort, unit switch, OK) is plain.
    const std::optional<float> value = ReadTypedNumber(purged.toStdString(), col == 0);
    if (purged != kEmptyCell && !value) {
        refuse(7101);
        return false;
    }
    grid->SetTextMatrix(row, col, purged == kEmptyCell || purged == PlainText(*value) ? purged : PlainText(*value));
    return true;
}

// Commits whatever editor is still open (OK reads the grids as the diver left them).
// Automatic switch depths are computed: a depth editor over them is dropped, never
// committed. False when a commit was refused.
bool frmProperties::commitOpenEditors()
{
    bool ok = commitNumberCell(fgDescend, tbDescend);
    ok = commitNumberCell(fgAscend, tbAscend) && ok;
    if (gasChangeLocked())
        tbGasChange->hide();
    else
        ok = commitNumberCell(fgGasChange, tbGasChange) && ok;
    closeGasList(true);
    return ok;
}

// A key typed on a cell opens its editor. A character key is the first one typed: it
// replaces the cell's text (typing 12 on a cell gives 12, not 2). Enter, Backspace and
// the space open the editor with the caret after the text.
bool frmProperties::gridKeyPress(FlexGrid *grid, int KeyAscii)
{
    const auto edit = [&](QLineEdit *Edt) {
        MSFlexGridEdit(grid, Edt, KeyAscii);
        if (KeyAscii > 32 && Edt->isVisible())
            Edt->insert(QString(QChar(KeyAscii)));
    };
    if (grid == fgDescend || grid == fgAscend) {
        edit(editorOf(grid));
        return true;
    }
    if (grid == fgGasChange && !gasChangeLocked()) {
        if (grid->Col() == 0) {
            edit(tbGasChange);
        } else {
            FillGasChangeCombo();
            GasChangeEdit(grid, cbGasChange);
        }
        return true;
    }
    return false;
}

// A double-click opens the editor; the first band's depth (always 0) has none. The
// descent editor opens with its text selected, the others with the caret at the end.
void frmProperties::gridDblClick(FlexGrid *grid)
{
    if (grid == fgDescend || grid == fgAscend) {
        if (grid->Row() == 1 && grid->Col() == 0)
            return;
        MSFlexGridEdit(grid, editorOf(grid), grid == fgDescend ? 33 : 32);
    } else if (grid == fgGasChange && !gasChangeLocked()) {
        if (grid->Col() == 1) {
            FillGasChangeCombo();
            GasChangeEdit(grid, cbGasChange);
        } else {
            MSFlexGridEdit(grid, tbGasChange, 32);
        }
    }
}

void frmProperties::gridGotFocus(FlexGrid *grid)
{
    if (grid == fgDescend || grid == fgAscend)
        commitNumberCell(grid, editorOf(grid));
    else if (grid == fgGasChange && !gasChangeLocked())
        commitNumberCell(grid, tbGasChange);
}

void frmProperties::gridLeaveCell(FlexGrid *grid)
{
    if (grid == fgDescend || grid == fgAscend) {
        commitNumberCell(grid, editorOf(grid));
    } else if (grid == fgGasChange && !gasChangeLocked()) {
        closeGasList(true);
        commitNumberCell(grid, tbGasChange);
    }
}

// A gas chosen in the list (also while the depths are automatic) goes into its cell.
void frmProperties::cbGasChange_Click()
{
    if (cbGasChange->isHidden())
        return;
    fgGasChange->setFocus();
    closeGasList(true);
}

// Hides the switch's gas list. With `keep`, the gas shown goes into the switch's cell
// when the diver picked another than the switch had; under automatic depths the switch
// then gets the depth of its new gas at once, never the old gas's depth.
void frmProperties::closeGasList(bool keep)
{
    if (cbGasChange->isHidden())
        return;
    const int row = editedRow(cbGasChange);
    const QString chosen = cbGasChange->currentText();
    cbGasChange->hide();
    if (!keep || cbGasChange->currentIndex() < 0 || chosen == cbGasChange->property("gas").toString())
        return;
    if (row < 1 || row >= fgGasChange->Rows())
        return;
    fgGasChange->SetTextMatrix(row, 1, chosen);
    if (gasChangeLocked())
        changeAutoDecoGasFrame(Units == kUnitsMetric, false);
}

// A right click: the grid takes the focus (committing an open editor), the cell under
// the mouse becomes the current one, and the row menu opens there.
void frmProperties::gridMouseDown(FlexGrid *grid, int Button, const QPoint &pos)
{
    if (Button != 2)
        return;
    grid->setFocus();
    if (QLineEdit *edit = editorOf(grid); edit && !edit->isHidden())
        gridGotFocus(grid);
    const int row = grid->rowAt(pos.y()), col = grid->columnAt(pos.x());
    if (row >= 0 && col >= 0) {
        grid->SetRow(row + grid->FixedRows());
        grid->SetCol(col);
    }
    menuGrid_ = grid;
    const bool rows = grid != FgGas;
    AddRow->setEnabled(rows);
    AddRow->setVisible(rows);
    mnuRows->popup(grid->viewport()->mapToGlobal(pos));
}

// A left click on the gas list: the blender button appears, preset with the clicked gas
// (Air for the heading row, above the data rows at Y < 0, and for a row that is not in
// the record's list).
void frmProperties::FgGas_MouseDown(int Button, int, int X, int Y)
{
    if (Button == 2) {
        gridMouseDown(FgGas, 2, QPoint(X, Y));
        return;
    }
    Command1->setVisible(true);
    const int tableRow = Y < 0 ? -1 : FgGas->rowAt(Y);
    const QString name = tableRow >= 0 ? FgGas->TextMatrix(tableRow + FgGas->FixedRows(), 0) : QString();
    const size_t index = tableRow >= 0 ? size_t(FindGasIndex(name.toStdString(), record())) : 0;
    const GasRecord &gas = record().Gases[index];
    SelectedO2 = gas.O2;
    SelectedHe = gas.He;
}

void frmProperties::AddRow_Click()
{
    FlexGrid *grid = menuGrid_;
    if (grid == fgDescend || grid == fgAscend) {
        grid->SetRows(grid->Rows() + 1);
        grid->SetTextMatrix(grid->Rows() - 1, 0, kEmptyCell);
        grid->SetTextMatrix(grid->Rows() - 1, 1, kEmptyCell);
    } else if (grid == fgGasChange) {
        grid->SetRows(grid->Rows() + 1);
        const int row = grid->Rows() - 1;
        grid->SetTextMatrix(row, 0, kEmptyCell);
        grid->SetTextMatrix(row, 1, QString::fromStdString(record().Gases[0].Name));
        // The diver can always take back a switch added here, also as the first row:
        // under automatic depths its gas cannot be chosen.
        grid->CellItem(row, 1)->setData(kAddedHere, true);
        if (!gasChangeLocked()) {
            saveDecoGasSettings();
        } else {
            // The kept manual depths stay; the new switch has none yet. Its shown depth
            // is the automatic one, like every other row's.
            DecoGasBackup.resize(size_t(row));
            DecoGasBackup.back() = DepthPair{kEmptyDepth, kEmptyDepth};
            changeAutoDecoGasFrame(Units == kUnitsMetric, false);
        }
    }
}

// A switch row goes, and with it its kept manual depth, so the rows below keep theirs.
void frmProperties::removeSwitchRow(int row)
{
    fgGasChange->RemoveItem(row);
    if (size_t(row - 1) < DecoGasBackup.size())
        DecoGasBackup.erase(DecoGasBackup.begin() + (row - 1));
}

void frmProperties::DelRow_Click()
{
    FlexGrid *grid = menuGrid_;
    if (!grid)
        return;
    const auto firstRowRefused = [] { MsgBox(GetLangStringQ(1654), vbExclamation | vbOKOnly, GetLangStringQ(1600)); };
    if (grid != FgGas) {
        const bool addedHere = grid == fgGasChange && grid->Row() >= 1
                               && grid->CellItem(grid->Row(), 1)->data(kAddedHere).toBool();
        if (grid->Row() < 2 && !addedHere) {
            firstRowRefused();
            return;
        }
        if (grid == fgGasChange)
            removeSwitchRow(grid->RowSel());
        else
            grid->RemoveItem(grid->RowSel());
        return;
    }

    // A gas of the list: not while the active dive or the dive edited here shows
    // waypoints (they name their gases by place in the list: the dive edited would
    // breathe another gas, or one its file cannot name), never Air, and not the gas of
    // the only switch. The dialog is modeless: another dive may be active by now.
    if (Shell().ActiveDiveShowsWaypoints() || Shell().ShownWaypoints(ProfileIndex) > 0) {
        MsgBox(GetLangStringQ(3044), vbOKOnly);
        return;
    }
    if (FgGas->Row() < 2) {
        firstRowRefused();
        return;
    }
    FgGas->SetCol(0);
    const int gasRow = FgGas->RowSel();
    const QString name = FgGas->TextMatrix(gasRow, 0);
    int switchRow = 0;
    for (int r = 1; r < fgGasChange->Rows() && switchRow == 0; ++r)
        if (fgGasChange->TextMatrix(r, 1) == name)
            switchRow = r;
    if (switchRow == 1 && fgGasChange->Rows() == 2) {
        MsgBox(GetLangStringQ(3045), vbOKOnly);
        return;
    }
    if (switchRow > 0)
        removeSwitchRow(switchRow);
    FgGas->RemoveItem(gasRow);
}
