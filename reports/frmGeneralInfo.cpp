#include "reports/frmGeneralInfo.h"

#include "engine/ClassProfile.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "reports/ModelName.h"

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

// The widths the grids were designed with, in twips; a column is widened to its texts.
constexpr std::array<int, 14> kInfoWidths = {530, 670, 600, 500, 500, 560, 600, 500, 500, 650, 650, 510, 900, 850};
constexpr std::array<int, 5> kStopWidths = {560, 550, 570, 500, 500};
constexpr std::array<int, 2> kGasWidths = {800, 700};

// The profile grid's columns.
enum InfoCol { cDepth, cSegTime, cRunTime, cO2, cHe, cPPO2, cCNS, cOTU, cEND, cGasUsed, cMValue, cGF, cKind, cModel };

// What Label17 holds until a repetitive dive is shown.
const QString kNoInterval = QStringLiteral("None");

// A number as the diver reads it: `decimals` places, halves away from zero, the locale's
// decimal separator.
QString num(double v, int decimals)
{
    return QString::fromStdString(LocaliseNumberText(FormatFixed(v, decimals), gDecimalSeparator));
}

// A cell in the warning style (bold red; italic too for a ppO2 judged against the deco
// limit) or back in the plain style.
void markCell(FlexGrid *grid, int row, int col, bool warning, bool italic = false)
{
    QTableWidgetItem *item = grid->CellItem(row, col);
    QFont font = grid->font();
    font.setBold(warning);
    font.setItalic(warning && italic);
    item->setFont(font);
    item->setForeground(warning ? QBrush(QColor(255, 0, 0)) : QBrush());
}

// A label with its name and the string ID of its caption (none for a value).
QLabel *newLabel(QWidget *parent, const char *name, const char *tag = nullptr)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    if (tag)
        l->setProperty("Tag", tag);
    return l;
}

// A row heading of the settings panel.
QLabel *heading(QLabel *label)
{
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

frmGeneralInfo::frmGeneralInfo(int16_t activeDive, const AlgorithmTicks &ticks, QWidget *parent)
    : QDialog(parent), activeDive_(activeDive), ticks_(ticks)
{
    setObjectName(QStringLiteral("frmGeneralInfo"));
    setModal(true);
    createControls();
    layOut();
    connect(Command1, &QPushButton::clicked, this, &frmGeneralInfo::Command1_Click);
    connect(GeneralInfo, &QAction::triggered, this, &frmGeneralInfo::GeneralInfo_Click);
}

void frmGeneralInfo::createControls()
{
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    TabStrip1->setDrawBase(false);
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);

    Label16 = newLabel(Frame2, "Label16");
    Label17 = newLabel(Frame2, "Label17");
    Label17->setText(kNoInterval);
    Label3 = heading(newLabel(Frame2, "Label3", "2127"));
    Label1 = heading(newLabel(Frame2, "Label1", "2130"));
    Label2 = heading(newLabel(Frame2, "Label2", "2129"));
    Label4 = heading(newLabel(Frame2, "Label4", "2128"));
    createGrids();
    createSettingsPanel();

    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setProperty("Tag", "1210");
    Command1->setDefault(true);

    mnuCopyInfo = new QMenu(this);
    mnuCopyInfo->setObjectName(QStringLiteral("mnuCopyInfo"));
    GeneralInfo = mnuCopyInfo->addAction(QStringLiteral("Copy"));
    GeneralInfo->setObjectName(QStringLiteral("GeneralInfo"));

    // The right click that offers the copy: the grids' cells, the settings panel (and
    // its labels, whose clicks reach it), the tab strip and the window itself.
    fginfo->viewport()->installEventFilter(this);
    fgDecoStop->viewport()->installEventFilter(this);
    fgGasConsumption->viewport()->installEventFilter(this);
    Frame3->installEventFilter(this);
    TabStrip1->installEventFilter(this);
}

void frmGeneralInfo::createGrids()
{
    auto grid = [this](const char *name, int cols) {
        auto *g = new FlexGrid(Frame2);
        g->setObjectName(QString::fromLatin1(name));
        g->SetCols(cols);
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        return g;
    };
    fginfo = grid("fginfo", 14);
    fginfo->horizontalHeader()->setStretchLastSection(true);
    fgDecoStop = grid("fgDecoStop", 5);
    fgGasConsumption = grid("fgGasConsumption", 2);
    fgSummary = grid("fgSummary", 4);
    fgSummary->SetFixedRows(0);
    fgSummary->SetRows(6);
    fgSummary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fgSummary->setSelectionMode(QAbstractItemView::NoSelection);
}

void frmGeneralInfo::createSettingsPanel()
{
    Frame3 = new QGroupBox(Frame2);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setProperty("Tag", "2131");
    QWidget *f = Frame3;
    Label6 = heading(newLabel(f, "Label6", "2132"));
    lbModel = newLabel(f, "lbModel");
    Label5 = heading(newLabel(f, "Label5", "2142"));
    lbDepthConservatism = newLabel(f, "lbDepthConservatism");
    lbGFConservatism = newLabel(f, "lbGFConservatism");
    lbLoGF = newLabel(f, "lbLoGF", "6171");
    lbLoGFValue = newLabel(f, "lbLoGFValue");
    lbHiGF = newLabel(f, "lbHiGF", "6170");
    lbHiGFValue = newLabel(f, "lbHiGFValue");
    Label7 = heading(newLabel(f, "Label7", "2133"));
    Label11 = newLabel(f, "Label11", "2134");
    lbAFrom = newLabel(f, "lbAFrom");
    lbStartPres = newLabel(f, "lbStartPres");
    Label12 = newLabel(f, "Label12", "2135");
    lbATo = newLabel(f, "lbATo");
    lbStopPres = newLabel(f, "lbStopPres");
    Label8 = heading(newLabel(f, "Label8", "2136"));
    Label9 = newLabel(f, "Label9", "2137");
    lbStep = newLabel(f, "lbStep");
    Label10 = newLabel(f, "Label10", "2138");
    lbLastStep = newLabel(f, "lbLastStep");
    Label14 = heading(newLabel(f, "Label14", "2139"));
    lbAparatus = newLabel(f, "lbAparatus");
    Label13 = heading(newLabel(f, "Label13", "2140"));
    lbUnits = newLabel(f, "lbUnits");
    lbO2Narcotic = heading(newLabel(f, "lbO2Narcotic", "2141"));
    Label15 = newLabel(f, "Label15");
}

void frmGeneralInfo::layOut()
{
    // The settings panel: a heading per row, the values beside it.
    auto *panel = new QGridLayout(Frame3);
    panel->setHorizontalSpacing(8);
    panel->setVerticalSpacing(2);
    panel->setColumnStretch(5, 1);
    int r = 0;
    panel->addWidget(Label6, r, 0);
    panel->addWidget(lbModel, r++, 1, 1, 4);
    panel->addWidget(Label5, r, 0);
    panel->addWidget(lbDepthConservatism, r++, 1, 1, 4);
    panel->addWidget(lbGFConservatism, r++, 1, 1, 4);
    panel->addWidget(lbLoGF, r, 1);
    panel->addWidget(lbLoGFValue, r, 2);
    panel->addWidget(lbHiGF, r, 3);
    panel->addWidget(lbHiGFValue, r++, 4);
    panel->addWidget(Label7, r, 0);
    panel->addWidget(Label11, r, 1);
    panel->addWidget(lbAFrom, r, 2);
    panel->addWidget(lbStartPres, r++, 3, 1, 2);
    panel->addWidget(Label12, r, 1);
    panel->addWidget(lbATo, r, 2);
    panel->addWidget(lbStopPres, r++, 3, 1, 2);
    panel->addWidget(Label8, r, 0);
    panel->addWidget(Label9, r, 1);
    panel->addWidget(lbStep, r, 2);
    panel->addWidget(Label10, r, 3);
    panel->addWidget(lbLastStep, r++, 4);
    panel->addWidget(Label14, r, 0);
    panel->addWidget(lbAparatus, r++, 1, 1, 4);
    panel->addWidget(Label13, r, 0);
    panel->addWidget(lbUnits, r++, 1, 1, 4);
    panel->addWidget(lbO2Narcotic, r, 0);
    panel->addWidget(Label15, r++, 1, 1, 4);
    panel->setRowStretch(r, 1);

    // The dive: its interval, its profile over the whole width, then the summary, the
    // stops, the gases and the settings side by side.
    auto *interval = new QHBoxLayout;
    interval->addWidget(Label16);
    interval->addWidget(Label17);
    interval->addStretch(1);
    auto *dive = new QGridLayout(Frame2);
    dive->addLayout(interval, 0, 0, 1, 4);
    dive->addWidget(Label3, 1, 0, 1, 4);
    dive->addWidget(fginfo, 2, 0, 1, 4);
    dive->addWidget(Label1, 3, 0);
    dive->addWidget(Label2, 3, 1);
    dive->addWidget(Label4, 3, 2);
    dive->addWidget(fgSummary, 4, 0, Qt::AlignTop);
    dive->addWidget(fgDecoStop, 4, 1);
    dive->addWidget(fgGasConsumption, 4, 2);
    dive->addWidget(Frame3, 3, 3, 2, 1);
    dive->setRowStretch(2, 3);
    dive->setRowStretch(4, 1);
    dive->setRowMinimumHeight(2, 260);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    auto *window = new QVBoxLayout(this);
    window->setSpacing(0);
    window->addWidget(TabStrip1);
    window->addWidget(Frame2, 1);
    window->addSpacing(8);
    window->addLayout(buttons);
}

// Lays the window out for the series (a tab per dive when it has more than one) and puts
// in the static texts. Runs once, at the first fill, when the number of dives is known.
void frmGeneralInfo::Form_Load()
{
    loaded_ = true;
    LocaliseForm(this);
    const int16_t active = activeDive_;
    const int16_t first = active > 0 ? FirstDiveOfSeries(active) : 0;
    const std::string &series = RecordOf(first, "frmGeneralInfo.Form_Load").ProfileName;
    setWindowTitle(GetLangStringQ(2100) + ": " + QString::fromStdString(series));
    setGridHeadings();

    if (SeriesCount_ <= 1) {
        TabStrip1->hide();
        Label16->hide();
        Label17->hide();
    } else {
        Label16->show();
        Label17->show();
        Label16->setText(GetLangStringQ(3011));
        TabStrip1->show();
        TabStrip1->addTab(GetLangStringQ(3012));
        for (int k = 2; k <= SeriesCount_; ++k)
            TabStrip1->addTab(GetLangStringQ(3013) + QString::number(k));
        TabStrip1->setCurrentIndex(0);
        connect(TabStrip1, &QTabBar::currentChanged, this, &frmGeneralInfo::TabStrip1_Click);
    }
}

void frmGeneralInfo::setGridHeadings()
{
    const QString info[14] = {GetLangStringQ(2101), GetLangStringQ(2102), GetLangStringQ(2103), QStringLiteral("%O2"),
                              QStringLiteral("%He"), GetLangStringQ(6041), GetLangStringQ(2105), GetLangStringQ(2106),
                              GetLangStringQ(2107), GetLangStringQ(2104), GetLangStringQ(2108), GetLangStringQ(2109),
                              GetLangStringQ(2120), GetLangStringQ(2143)};
    for (int c = 0; c < 14; ++c)
        fginfo->SetTextMatrix(0, c, info[c]);
    const QString stops[5] = {GetLangStringQ(2101), GetLangStringQ(2121), GetLangStringQ(2103), QStringLiteral("O2%"),
                              QStringLiteral("He%")};
    for (int c = 0; c < 5; ++c)
        fgDecoStop->SetTextMatrix(0, c, stops[c]);
    fgGasConsumption->SetTextMatrix(0, 0, GetLangStringQ(2122));
    fgGasConsumption->SetTextMatrix(0, 1, GetLangStringQ(2104));

    const QString labels[6][2] = {{GetLangStringQ(2110), GetLangStringQ(2111)}, {GetLangStringQ(2112), GetLangStringQ(2113)},
                                  {GetLangStringQ(2114), GetLangStringQ(2115)}, {GetLangStringQ(2116), GetLangStringQ(2117)},
                                  {GetLangStringQ(2118), GetLangStringQ(2119)}, {GetLangStringQ(3014), GetLangStringQ(3015)}};
    for (int row = 0; row < 6; ++row)
        for (int k = 0; k < 2; ++k) {
            fgSummary->SetTextMatrix(row, 2 * k, labels[row][k]);
            QFont bold = fgSummary->font();
            bold.setBold(true);
            fgSummary->CellItem(row, 2 * k)->setFont(bold);
        }
    fitColumns();
}

void frmGeneralInfo::showEvent(QShowEvent *event)
{
    // Shown without a dive (no dive window active): the empty window still has its texts.
    if (!loaded_) {
        SeriesCount_ = std::max<int16_t>(getNumberofSeries(), 1);
        Form_Load();
    }
    QDialog::showEvent(event);
}

int16_t frmGeneralInfo::getNumberofSeries() const
{
    const int16_t active = activeDive_;
    if (active <= 0 || !FindDive(active))
        return -1;
    const auto count = static_cast<int16_t>(SeriesFrom(FirstDiveOfSeries(active)).size());
    return std::max<int16_t>(count, 1);
}

void frmGeneralInfo::setthefirstprofile()
{
    RunGuarded("frmGeneralInfo.setthefirstprofile", [this] {
        const int16_t active = activeDive_;
        if (active > 0 && FindDive(active))
            setInfo(FirstDiveOfSeries(active), false);
    });
}

void frmGeneralInfo::TabStrip1_Click()
{
    RunGuarded("frmGeneralInfo.TabStrip1_Click", [this] {
        const int16_t active = activeDive_;
        if (active <= 0 || !FindDive(active))
            return;
        const int16_t first = FirstDiveOfSeries(active);
        const std::vector<int16_t> series = SeriesFrom(first);
        // The tab's dive, or the last one when the series has fewer dives than tabs.
        const size_t k = std::min<size_t>(size_t(std::max(TabStrip1->currentIndex(), 0)),
                                          series.empty() ? 0 : series.size() - 1);
        setInfo(series.empty() ? first : series[k], k > 0);
    });
}

void frmGeneralInfo::setInfo(int16_t profilenr, bool SurfIntervalAvailable)
{
    SeriesCount_ = getNumberofSeries();
    if (!loaded_)
        Form_Load();
    const Dive *dive = FindDive(profilenr);
    if (!dive)
        return;
    const ClassProfile &P = dive->InputProfile;
    const SettingsRecord &S = dive->Record();
    const TemplateRec &t = S.Template;
    shownDive_ = profilenr;

    setUpdatesEnabled(false);
    resetShownDive();
    if (SurfIntervalAvailable) {
        Label16->setText(GetLangStringQ(3016));
        Label17->setText(QString::fromStdString(FormatHoursMinutes(S.SurfTime)));
        Label16->show();
        Label17->show();
    }
    fillProfile(P, t);
    fillStops(P);
    if (P.GetLength() > 0)
        fillSummary(P, t);
    fillGasTotals(P, t);
    fillSettings(t);
    fitColumns();
    setUpdatesEnabled(true);
}

// Everything the dive shown before left behind: its interval, its summary and warning
// styles, its rows. A first dive shows no interval, and its copy says "None".
void frmGeneralInfo::resetShownDive()
{
    Label16->hide();
    Label17->hide();
    Label16->setText(SeriesCount_ > 1 ? GetLangStringQ(3011) : QString());
    Label17->setText(kNoInterval);
    for (int row = 0; row < 6; ++row)
        for (int col : {1, 3}) {
            fgSummary->SetTextMatrix(row, col, QString());
            markCell(fgSummary, row, col, false);
        }
    fginfo->SetRows(1);
    fgDecoStop->SetRows(1);
    fgGasConsumption->SetRows(1);
    totalStopTime_ = 0;
    totalCNS_ = totalOTU_ = 0;
    highestPPO2_ = 0;
    lowestPPO2_ = 1000;
    greatestDepth_ = highestEND_ = 0;
}

void frmGeneralInfo::fillProfile(const ClassProfile &P, const TemplateRec &t)
{
    QString model;
    bool decoPhase = false;
    fginfo->SetRows(P.GetLength() + 2);
    for (int16_t i = 0; i <= P.GetLength(); ++i) {
        const int row = i + 1;
        auto cell = [this, row](int col, const QString &text) { fginfo->SetTextMatrix(row, col, text); };

        // The model that set the ceiling here; a waypoint without one keeps the one before.
        if (const auto ceiling = CeilingModelName(P.GetModelControl(i), ticks_))
            model = QString::fromStdString(*ceiling);
        cell(cModel, model);
        cell(cDepth, num(P.getDepth(i), 1));
        cell(cSegTime, num(P.GetSegmentTime(i), 1));
        cell(cRunTime, num(P.GetRunTime(i), 1));
        cell(cO2, num(P.GetGasMixO2(i), 0));
        cell(cHe, num(P.GetGasMixHe(i), 0));

        const float ppO2 = P.GetPPO2(i);
        highestPPO2_ = MaxSingle(highestPPO2_, ppO2);
        lowestPPO2_ = MinSingle(lowestPPO2_, ppO2);
        totalCNS_ += P.getCNS(i);
        totalOTU_ += P.getOTU(i);
        greatestDepth_ = MaxSingle(greatestDepth_, P.getDepth(i));
        highestEND_ = MaxSingle(highestEND_, P.GetEND(i));
        // From the first stop on the deco limit holds, for the travel between stops too.
        decoPhase = decoPhase || P.getStopDepth(i) != 0;
        const float upper = decoPhase ? t.DecoPPO2 : t.MaxPPO2;
        markCell(fginfo, row, cPPO2, ppO2 > upper || ppO2 < t.MinPPO2, decoPhase);
        cell(cPPO2, num(ppO2, 2));

        const float cns = static_cast<float>(P.getCNS(i) * 100.0);
        markCell(fginfo, row, cCNS, cns > 100);
        cell(cCNS, num(cns, 1));
        cell(cOTU, num(P.getOTU(i), 1));
        // An END up to 0.1 above the limit is allowed; the allowance is compared with a
        // margin far below what is shown, so 0.1 above in single precision is not marked.
        markCell(fginfo, row, cEND, P.GetEND(i) - t.MaximalEND > 0.1 + 1e-4);
        cell(cEND, num(P.GetEND(i), 0));
        cell(cGasUsed, t.OpenCircuit ? num(P.getGasUsed(i), 1) : QStringLiteral("--   "));
        if (P.GetMaxMValue(i) != 0)
            cell(cMValue, num(static_cast<float>(P.GetMaxMValue(i) * 100.0), 1));
        const float gf = P.GetGF(i);
        if (gf != 1.0f && t.GFOn) {
            markCell(fginfo, row, cGF, gf > 1.0f);
            cell(cGF, num(static_cast<float>(gf * 100.0), gf > 1.0f ? 0 : 1));
        }

        const int16_t status = P.GetStatus(i);
        if (status >= 0 && status <= 5)
            cell(cKind, GetLangStringQ(static_cast<int16_t>(3017 + status)));
        else if (!P.GetDoShow(i))
            cell(cKind, QString());
        else if (P.GetRate(i) < 0)
            cell(cKind, GetLangStringQ(3023));
        else if (P.GetRate(i) > 0)
            cell(cKind, GetLangStringQ(3024));
    }
}

void frmGeneralInfo::fillStops(const ClassProfile &P)
{
    for (int16_t i = 1; i <= P.GetLength(); ++i) {
        if (P.getStopDepth(i) == 0)
            continue;
        const int row = fgDecoStop->Rows();
        fgDecoStop->SetRows(row + 1);
        fgDecoStop->SetTextMatrix(row, 0, num(P.getStopDepth(i), 1));
        fgDecoStop->SetTextMatrix(row, 1, num(P.getStopTime(i), 1));
        fgDecoStop->SetTextMatrix(row, 2, num(P.GetRunTime(i), 0));
        fgDecoStop->SetTextMatrix(row, 3, num(P.GetGasMixO2(i), 0));
        fgDecoStop->SetTextMatrix(row, 4, num(P.GetGasMixHe(i), 0));
        totalStopTime_ += RoundTo(P.getStopTime(i), 1);
    }
}

void frmGeneralInfo::fillSummary(const ClassProfile &P, const TemplateRec &t)
{
    auto value = [this](int row, int col, const QString &text, bool warning = false) {
        markCell(fgSummary, row, col, warning);
        fgSummary->SetTextMatrix(row, col, text);
    };
    value(0, 1, num(P.GetRunTime(P.GetLength()), 1));
    value(0, 3, num(totalStopTime_, 1));
    value(1, 1, num(static_cast<float>(totalCNS_ * 100.0), 1));
    value(1, 3, num(totalOTU_, 1));
    value(2, 1, num(highestPPO2_, 2), highestPPO2_ > t.MaxPPO2);
    value(2, 3, num(lowestPPO2_, 2), lowestPPO2_ < t.MinPPO2);
    value(3, 1, num(highestEND_, 1), highestEND_ > t.MaximalEND);
    value(3, 3, num(t.Setpoint, 1));
    value(4, 1, num(t.RMV, 1));
    value(4, 3, num(greatestDepth_, 1));
    value(5, 1, num(t.DecoRMV, 1));
    value(5, 3, num(t.DecoPPO2, 2));
}

// The gas each gas of the dive's list supplied: every waypoint breathing a gas of that
// exact name adds its gas used. Gases not in the list are not counted.
void frmGeneralInfo::fillGasTotals(const ClassProfile &P, const TemplateRec &t)
{
    GasTotals.clear();
    for (const GasRecord &g : t.Gases)
        GasTotals.push_back(GasRecord{g.Name, g.O2, g.N2, g.He, 0});
    for (int16_t i = 0; i <= P.GetLength(); ++i)
        for (GasRecord &total : GasTotals)
            if (P.GetGasMixName(i) == total.Name)
                total.GasUsed += P.getGasUsed(i);
    for (const GasRecord &total : GasTotals) {
        if (total.GasUsed == 0)
            continue;
        const int row = fgGasConsumption->Rows();
        fgGasConsumption->SetRows(row + 1);
        fgGasConsumption->SetTextMatrix(row, 0, QString::fromStdString(total.Name));
        fgGasConsumption->SetTextMatrix(row, 1, num(total.GasUsed, 1));
    }
}

void frmGeneralInfo::fillSettings(const TemplateRec &t)
{
    auto onOff = [](bool on) { return on ? GetLangStringQ(6168) : GetLangStringQ(6169); };
    lbModel->setText(QString::fromStdString(GetModelName(ticks_)));
    lbDepthConservatism->setText(GetLangStringQ(2123) + " " + GetLangStringQ(2142) + ": " + onOff(t.DepthAdjust));
    lbGFConservatism->setText(GetLangStringQ(2124) + " " + GetLangStringQ(2142) + ": " + onOff(t.GFOn));
    for (QLabel *l : {lbLoGF, lbLoGFValue, lbHiGF, lbHiGFValue})
        l->setVisible(t.GFOn);
    lbHiGFValue->setText(num(t.GFHigh, 2));
    lbLoGFValue->setText(num(t.GFLow, 2));
    // A high factor above 1.0 is red; a dive within it shows it plainly again.
    QPalette palette;
    if (t.GFHigh > 1.0f)
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lbHiGFValue->setPalette(palette);

    const QString depth = t.Metric ? QStringLiteral(" m") : QStringLiteral(" ft");
    const QString pressure = t.Metric ? QStringLiteral(" bar") : QStringLiteral(" ata");
    lbUnits->setText(t.Metric ? GetLangStringQ(6166) : GetLangStringQ(6167));
    lbAFrom->setText(num(t.StartAltitude, 0) + depth);
    lbATo->setText(num(t.EndAltitude, 0) + depth);
    lbStartPres->setText(num(t.StartPressure, 3) + pressure);
    lbStopPres->setText(num(t.EndPressure, 3) + pressure);
    lbStep->setText(num(t.StepSize, 0) + depth);
    lbLastStep->setText(num(t.LastStop, 0) + depth);
    lbAparatus->setText(t.OpenCircuit ? GetLangStringQ(2125) : GetLangStringQ(2126));
    Label15->setText(t.O2Narcotic ? GetLangStringQ(3025) : GetLangStringQ(3026));
}

// Each column at least as wide as designed and as wide as its texts; the grids as wide
// as their columns, so nothing scrolls sideways.
void frmGeneralInfo::fitColumns()
{
    auto fit = [](FlexGrid *grid, const int *designed) {
        int width = 0;
        for (int c = 0; c < grid->Cols(); ++c) {
            grid->resizeColumnToContents(c);
            if (designed)
                grid->SetColWidth(c, std::max(grid->ColWidth(c), designed[c]));
            width += grid->columnWidth(c);
        }
        const int scroll = grid->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                               ? 0
                               : grid->verticalScrollBar()->sizeHint().width();
        grid->setMinimumWidth(width + 2 * grid->frameWidth() + scroll);
    };
    fit(fginfo, kInfoWidths.data());
    fit(fgDecoStop, kStopWidths.data());
    fit(fgGasConsumption, kGasWidths.data());
    fit(fgSummary, nullptr);
    int height = 2 * fgSummary->frameWidth();
    for (int r = 0; r < fgSummary->rowCount(); ++r)
        height += fgSummary->rowHeight(r);
    fgSummary->setFixedHeight(height);
}

GeneralInfoTexts frmGeneralInfo::ShownTexts() const
{
    GeneralInfoTexts s;
    s.caption = shownDive_ > 0 ? Shell().DiveCaption(shownDive_) : QString();
    s.surfaceInterval = Label17->text();
    s.model = lbModel->text();
    s.units = lbUnits->text();
    s.apparatus = lbAparatus->text();
    s.step = lbStep->text();
    s.depthConservatism = lbDepthConservatism->text();
    s.fromAltitude = lbAFrom->text();
    s.lastStop = lbLastStep->text();
    s.gfConservatism = lbGFConservatism->text();
    s.startPressure = lbStartPres->text();
    s.gfShown = !lbHiGFValue->isHidden();
    s.gfLow = lbLoGFValue->text();
    s.gfHigh = lbHiGFValue->text();
    s.toAltitude = lbATo->text();
    s.endPressure = lbStopPres->text();
    s.o2Narcotic = Label15->text();
    auto rows = [](const FlexGrid *grid, std::initializer_list<int> cols) {
        std::vector<QStringList> out;
        for (int r = 1; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c : cols)
                cells << grid->TextMatrix(r, c);
            out.push_back(cells);
        }
        return out;
    };
    s.profileRows = rows(fginfo, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13});
    s.stopRows = rows(fgDecoStop, {0, 1, 2, 3, 4});
    s.gasRows = rows(fgGasConsumption, {0, 1});
    return s;
}

void frmGeneralInfo::Command1_Click()
{
    accept();
}

void frmGeneralInfo::GeneralInfo_Click()
{
    RunGuarded("frmGeneralInfo.GeneralInfo_Click", [this] {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(ClipboardReport(ShownTexts()));
        MsgBox(QStringLiteral("Copy to clipboard done"), vbOKOnly);
    });
}

void frmGeneralInfo::popUpCopy(const QPoint &globalPos)
{
    mnuCopyInfo->popup(globalPos);
}

bool frmGeneralInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            popUpCopy(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmGeneralInfo::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        popUpCopy(event->globalPosition().toPoint());
    QDialog::mouseReleaseEvent(event);
}
