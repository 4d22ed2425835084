#include "settings/frmProperties.h"

#include "engine/DiveModel.h"
#include "platform/ErrorModule.h"
#include "platform/FlexGrid.h"
#include "platform/LocaliseForm.h"
#include "platform/ShellServices.h"
#include "platform/Twips.h"
#include "settings/PropertiesImageList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The window's size and where the pages stand, in twips.
constexpr int kWindowWidth = 7200;
constexpr int kWindowHeight = 4400;
constexpr int kPageLeft = 2000;
constexpr int kPageTop = 360;
constexpr int kMargin = 120;

template <typename W>
W *make(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A number box: wide enough for a value like 1000.000.
QLineEdit *numberBox(QWidget *parent, const char *name)
{
    auto *box = make<QLineEdit>(parent, name);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000.000")) + 12);
    return box;
}

FlexGrid *grid(QWidget *parent, const char *name, int widthTwips, int heightTwips)
{
    auto *g = make<FlexGrid>(parent, name);
    g->setFixedSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return g;
}

// A caption, its box and the unit beside it, as one row of a page's grid layout.
void addRow(QGridLayout *layout, QLabel *caption, QLineEdit *box, QLabel *unit = nullptr)
{
    const int row = layout->rowCount();
    if (caption)
        layout->addWidget(caption, row, 0);
    layout->addWidget(box, row, 1);
    if (unit)
        layout->addWidget(unit, row, 2);
}

QGridLayout *formLayout(QGroupBox *frame)
{
    auto *layout = new QGridLayout(frame);
    layout->setColumnStretch(3, 1);
    return layout;
}

} // namespace

frmProperties::frmProperties(int16_t diveNumber, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    createPages();
    createPageList();
    cbOK = make<QPushButton>(this, "cbOK");
    cbOK->setDefault(true);
    cbCancel = make<QPushButton>(this, "cbCancel");
    cbDefault = make<QPushButton>(this, "cbDefault");
    createGridEditors();
    connectReactions();

    // The load: the dive the dialog edits is the one given, kept for its life.
    LocaliseForm(this);
    ProfileIndex = diveNumber;
    if (!FindRecord(ProfileIndex))
        ProfileIndex = 0;
    LoadSettings(ProfileIndex);
    setWindowTitle(QString::fromStdString(record().Templatename));
    CloseAllFrames();
    Label23->setText(GetLangStringQ(5003));
    const QString entries[PropertiesImageList::Count] = {
        GetLangStringQ(3034), GetLangStringQ(3035), GetLangStringQ(3036), GetLangStringQ(3037),
        GetLangStringQ(3038), GetLangStringQ(3039), GetLangStringQ(3040), GetLangStringQ(3041)};
    for (int i = 0; i < PropertiesImageList::Count; ++i) {
        auto *entry = new QListWidgetItem(PropertiesImageList::image(i + 1), entries[i], ListView1);
        entry->setData(Qt::UserRole, i + 1);
    }
    ShowRateFrame();
    {
        const QSignalBlocker quiet(ListView1);
        ListView1->setCurrentRow(0);
    }
    placePages();
}

TemplateRec &frmProperties::record() const
{
    return RecordOf(ProfileIndex, "frmProperties.record").Template;
}

QList<QGroupBox *> frmProperties::pages() const
{
    // In the order the page list names them.
    return {Frame13, Frame15, Frame2, Frame4, Frame1, Frame8, Frame14, Frame9};
}

void frmProperties::createPages()
{
    createRatesPage();
    createDecoPage();
    createUnitsPage();
    createGasesPage();
    createAltitudePage();
    createRebreatherPage();
    createGasSettingsPage();
    createWarningsPage();
}

void frmProperties::createRatesPage()
{
    Frame13 = make<QGroupBox>(this, "Frame13");
    auto *layout = new QHBoxLayout(Frame13);
    Frame6 = make<QGroupBox>(Frame13, "Frame6");
    fgAscend = grid(Frame6, "fgAscend", 3150, 2400);
    auto *ascent = new QVBoxLayout(Frame6);
    ascent->addWidget(fgAscend);
    ascent->addStretch();
    Frame7 = make<QGroupBox>(Frame13, "Frame7");
    fgDescend = grid(Frame7, "fgDescend", 3150, 2400);
    auto *descent = new QVBoxLayout(Frame7);
    descent->addWidget(fgDescend);
    descent->addStretch();
    layout->addWidget(Frame6);
    layout->addWidget(Frame7);
}

void frmProperties::createDecoPage()
{
    Frame15 = make<QGroupBox>(this, "Frame15");
    auto *page = new QGridLayout(Frame15);

    Frame5 = make<QGroupBox>(Frame15, "Frame5");
    auto *steps = formLayout(Frame5);
    Label7 = make<QLabel>(Frame5, "Label7");
    tbStepSize = numberBox(Frame5, "tbStepSize");
    Label15 = make<QLabel>(Frame5, "Label15");
    tbLastStop = numberBox(Frame5, "tbLastStop");
    addRow(steps, Label7, tbStepSize);
    addRow(steps, Label15, tbLastStop);

    Frame16 = make<QGroupBox>(Frame15, "Frame16");
    auto *phase = formLayout(Frame16);
    Label20 = make<QLabel>(Frame16, "Label20");
    Text7 = numberBox(Frame16, "Text7");
    Label21 = make<QLabel>(Frame16, "Label21");
    Text8 = numberBox(Frame16, "Text8");
    Label22 = make<QLabel>(Frame16, "Label22");
    addRow(phase, Label20, Text7);
    addRow(phase, Label21, Text8, Label22);

    Frame3 = make<QGroupBox>(Frame15, "Frame3");
    auto *gases = new QVBoxLayout(Frame3);
    fgGasChange = grid(Frame3, "fgGasChange", 2400, 1500);
    cbAutoDecoGas = make<QCheckBox>(Frame3, "cbAutoDecoGas");
    gases->addWidget(fgGasChange);
    gases->addWidget(cbAutoDecoGas);
    gases->addStretch();

    page->addWidget(Frame5, 0, 0);
    page->addWidget(Frame16, 1, 0);
    page->addWidget(Frame3, 0, 1, 2, 1);
    page->setRowStretch(2, 1);
}

void frmProperties::createUnitsPage()
{
    Frame2 = make<QGroupBox>(this, "Frame2");
    auto *layout = new QVBoxLayout(Frame2);
    Option1[1] = make<QRadioButton>(Frame2, "Option1_1");
    Option1[0] = make<QRadioButton>(Frame2, "Option1_0");
    Option1[1]->setChecked(true); // the design's choice: metric
    layout->addWidget(Option1[1]);
    layout->addWidget(Option1[0]);
    layout->addStretch();
}

void frmProperties::createGasesPage()
{
    Frame4 = make<QGroupBox>(this, "Frame4");
    auto *layout = new QVBoxLayout(Frame4);
    FgGas = grid(Frame4, "FgGas", 4980, 2250);
    FgGas->SetCols(4);
    FgGas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(FgGas);
    auto *buttons = new QHBoxLayout;
    Command1 = make<QPushButton>(Frame4, "Command1");
    cbCustomBlend = make<QPushButton>(Frame4, "cbCustomBlend");
    buttons->addWidget(cbCustomBlend);
    buttons->addWidget(Command1);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->addStretch();
}

void frmProperties::createAltitudePage()
{
    Frame1 = make<QGroupBox>(this, "Frame1");
    auto *page = new QVBoxLayout(Frame1);

    Frame12 = make<QGroupBox>(Frame1, "Frame12");
    auto *start = formLayout(Frame12);
    Text2 = numberBox(Frame12, "Text2");
    Label11 = make<QLabel>(Frame12, "Label11");
    Text4 = numberBox(Frame12, "Text4");
    Label16 = make<QLabel>(Frame12, "Label16");
    addRow(start, nullptr, Text2, Label11);
    addRow(start, nullptr, Text4, Label16);
    Check1 = make<QCheckBox>(Frame12, "Check1");
    start->addWidget(Check1, start->rowCount(), 0, 1, 4);
    Label10 = make<QLabel>(Frame12, "Label10");
    start->addWidget(Label10, start->rowCount(), 0, 1, 4);
    Text1 = numberBox(Frame12, "Text1");
    Label12 = make<QLabel>(Frame12, "Label12");
    addRow(start, nullptr, Text1, Label12);
    start->setColumnMinimumWidth(0, 0);

    Frame11 = make<QGroupBox>(Frame1, "Frame11");
    auto *site = formLayout(Frame11);
    Text5 = numberBox(Frame11, "Text5");
    Label18 = make<QLabel>(Frame11, "Label18");
    Label14 = make<QLabel>(Frame11, "Label14");
    Text3 = numberBox(Frame11, "Text3");
    Label13 = make<QLabel>(Frame11, "Label13");
    addRow(site, nullptr, Text5, Label18);
    addRow(site, Label14, Text3, Label13);

    page->addWidget(Frame12);
    page->addWidget(Frame11);
    page->addStretch();
}

void frmProperties::createRebreatherPage()
{
    Frame8 = make<QGroupBox>(this, "Frame8");
    auto *layout = formLayout(Frame8);
    Label1 = make<QLabel>(Frame8, "Label1");
    SetPoint = numberBox(Frame8, "SetPoint");
    lBarAta = make<QLabel>(Frame8, "lBarAta");
    Label19 = make<QLabel>(Frame8, "Label19");
    Text6 = numberBox(Frame8, "Text6");
    Label17 = make<QLabel>(Frame8, "Label17");
    Check2 = make<QCheckBox>(Frame8, "Check2");
    addRow(layout, Label1, SetPoint, lBarAta);
    addRow(layout, Label19, Text6, Label17);
    layout->addWidget(Check2, layout->rowCount(), 0, 1, 4);
    layout->setRowStretch(layout->rowCount(), 1);
}

void frmProperties::createGasSettingsPage()
{
    Frame14 = make<QGroupBox>(this, "Frame14");
    auto *page = new QVBoxLayout(Frame14);

    Frame17 = make<QGroupBox>(Frame14, "Frame17");
    auto *limits = formLayout(Frame17);
    Label3 = make<QLabel>(Frame17, "Label3");
    tbMinPPO = numberBox(Frame17, "tbMinPPO");
    Label5 = make<QLabel>(Frame17, "Label5");
    Label4 = make<QLabel>(Frame17, "Label4");
    tbMaxPPO = numberBox(Frame17, "tbMaxPPO");
    Label6 = make<QLabel>(Frame17, "Label6");
    addRow(limits, Label3, tbMinPPO, Label5);
    addRow(limits, Label4, tbMaxPPO, Label6);

    Frame19 = make<QGroupBox>(Frame14, "Frame19");
    auto *narcosis = formLayout(Frame19);
    cbONarcotic = make<QCheckBox>(Frame19, "cbONarcotic");
    narcosis->addWidget(cbONarcotic, 0, 0, 1, 4);
    Label8 = make<QLabel>(Frame19, "Label8");
    tbMaximalEND = numberBox(Frame19, "tbMaximalEND");
    Label9 = make<QLabel>(Frame19, "Label9");
    addRow(narcosis, Label8, tbMaximalEND, Label9);

    Frame18 = make<QGroupBox>(Frame14, "Frame18");
    auto *rmv = formLayout(Frame18);
    lbRMV = make<QLabel>(Frame18, "lbRMV");
    tbRMV = numberBox(Frame18, "tbRMV");
    Label2 = make<QLabel>(Frame18, "Label2");
    addRow(rmv, lbRMV, tbRMV, Label2);

    // The three frames' captions line up.
    for (QGroupBox *frame : {Frame17, Frame19, Frame18}) {
        auto *l = static_cast<QGridLayout *>(frame->layout());
        l->setColumnMinimumWidth(0, 0);
        page->addWidget(frame);
    }
    page->addStretch();
}

void frmProperties::createWarningsPage()
{
    Frame9 = make<QGroupBox>(this, "Frame9");
    auto *layout = new QVBoxLayout(Frame9);
    cbWarnPPOLow = make<QCheckBox>(Frame9, "cbWarnPPOLow");
    cbWarnPPOHigh = make<QCheckBox>(Frame9, "cbWarnPPOHigh");
    cbWarnMaxEND = make<QCheckBox>(Frame9, "cbWarnMaxEND");
    layout->addWidget(cbWarnPPOLow);
    layout->addWidget(cbWarnPPOHigh);
    layout->addWidget(cbWarnMaxEND);
    layout->addStretch();
}

void frmProperties::createPageList()
{
    Label23 = make<QLabel>(this, "Label23");
    ListView1 = make<QListWidget>(this, "ListView1");
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setIconSize(QSize(20, 20));
    ListView1->setSpacing(1);
    ListView1->setWordWrap(true);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// The pages all stand at one place beside the page list, as large as the largest needs;
// the window is 7200 x 4400 twips unless the pages (in a longer language) need more.
void frmProperties::placePages()
{
    QSize page(0, 0);
    for (QGroupBox *frame : pages()) {
        frame->adjustSize();
        page = page.expandedTo(frame->sizeHint());
    }
    const int left = TwipsToPixels(kPageLeft), top = TwipsToPixels(kPageTop), margin = TwipsToPixels(kMargin);
    const int buttonHeight = std::max({cbOK->sizeHint().height(), cbCancel->sizeHint().height(),
                                       cbDefault->sizeHint().height()});
    const int width = std::max(TwipsToPixels(kWindowWidth), left + page.width() + margin);
    const int height = std::max(TwipsToPixels(kWindowHeight), top + page.height() + 2 * margin + buttonHeight);
    page = QSize(width - left - margin, height - top - 2 * margin - buttonHeight);
    for (QGroupBox *frame : pages())
        frame->resize(page);

    // The list fills the room left of the pages.
    Label23->setGeometry(margin / 2, margin / 2, left - margin, top - margin / 2);
    ListView1->setGeometry(margin / 2, top, left - margin, page.height());

    const int buttonsTop = top + page.height() + margin;
    int x = width - margin;
    for (QPushButton *b : {cbCancel, cbOK}) {
        const int w = std::max(b->sizeHint().width(), TwipsToPixels(1200));
        x -= w;
        b->setGeometry(x, buttonsTop, w, buttonHeight);
        x -= margin;
    }
    cbDefault->setGeometry(left, buttonsTop, std::max(cbDefault->sizeHint().width(), TwipsToPixels(1200)),
                           buttonHeight);
    setFixedSize(width, height);
}

void frmProperties::connectReactions()
{
    connect(cbOK, &QPushButton::clicked, this, &frmProperties::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmProperties::cbCancel_Click);
    connect(cbDefault, &QPushButton::clicked, this,
            [this] { RunGuarded("frmProperties.cbDefault_Click", [this] { cbDefault_Click(); }); });
    connect(cbCustomBlend, &QPushButton::clicked, this,
            [this] { RunGuarded("frmProperties.cbCustomBlend_Click", [this] { cbCustomBlend_Click(); }); });
    connect(Command1, &QPushButton::clicked, this,
            [this] { RunGuarded("frmProperties.Command1_Click", [this] { Command1_Click(); }); });
    connect(ListView1, &QListWidget::currentRowChanged, this, &frmProperties::ListView1_Click);
    for (int index : {0, 1})
        connect(Option1[size_t(index)], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                RunGuarded("frmProperties.Option1_Click", [&] { Option1_Click(index); });
        });
    connect(Check1, &QCheckBox::toggled, this, &frmProperties::Check1_Click);
    connect(cbAutoDecoGas, &QCheckBox::toggled, this,
            [this] { RunGuarded("frmProperties.cbAutoDecoGas_Click", [this] { cbAutoDecoGas_Click(); }); });
    connect(Text7, &QLineEdit::textChanged, this,
            [this] { RunGuarded("frmProperties.Text7_Change", [this] { Text7_Change(); }); });

    const QString bar = QStringLiteral(" Bar"), ata = QStringLiteral(" Ata");
    const QString metres = QStringLiteral(" Meters"), feet = QStringLiteral(" Feet");
    const QString litres = QStringLiteral(" L/Min"), cuft = QStringLiteral(" CuFt");
    const QString minutes = QStringLiteral(" Minutes");
    const std::vector<FieldCheck> checks = {
        {tbStepSize, "3", "10", 3046, "", ""},
        {tbLastStop, "3", "10", 3047, "", ""},
        {tbRMV, "20", "0.6", 3049, litres, cuft},
        {Text8, "20", "0.6", 3049, litres, cuft},
        {tbMinPPO, "0.16", "0.16", 3050, bar, ata},
        {tbMaxPPO, "1.4", "1.4", 3051, bar, ata},
        {tbMaximalEND, "30", "100", 3052, metres, feet},
        {Text2, "1", "1", 3053, metres, feet},
        {Text5, "1", "1", 3053, metres, feet},
        {Text1, "1", "1", 3054, minutes, minutes},
        {SetPoint, "1.4", "1.4", 3055, bar, ata},
        {Text6, "1.4", "1.4", 3056, bar, ata},
    };
    for (const FieldCheck &check : checks)
        connect(check.box, &QLineEdit::editingFinished, &focusOutContext_, [this, check] { checkField(check); });
    connect(Text7, &QLineEdit::editingFinished, &focusOutContext_, [this] { Text7_LostFocus(); });

    connect(&ShellNotices::Instance(), &ShellNotices::DiveClosed, this, &frmProperties::closeForDive);
}

// The dive's window closed: its slot may soon hold a new dive, which must not receive
// these settings. The default template stays editable whatever closes.
void frmProperties::closeForDive(int16_t profileNr)
{
    if (profileNr == ProfileIndex && ProfileIndex != 0)
        reject();
}

// Page choice.

void frmProperties::CloseAllFrames()
{
    for (QGroupBox *frame : {Frame15, Frame14, Frame4, Frame8, Frame13, Frame9, Frame2, Frame1})
        frame->hide();
}

void frmProperties::showPage(QGroupBox *frame)
{
    frame->move(TwipsToPixels(kPageLeft), TwipsToPixels(kPageTop));
    frame->show();
}

void frmProperties::ShowRateFrame() { showPage(Frame13); }
void frmProperties::ShowDecoFrame() { showPage(Frame15); }
void frmProperties::ShowUnitsFrame() { showPage(Frame2); }
void frmProperties::ShowGassesAvailFrame() { showPage(Frame4); }
void frmProperties::ShowAltitudeFrame() { showPage(Frame1); }
void frmProperties::ShowRebreatherFrame() { showPage(Frame8); }
void frmProperties::ShowGasSettings() { showPage(Frame14); }
void frmProperties::ShowWarningsFrame() { showPage(Frame9); }

void frmProperties::ListView1_Click()
{
    CloseAllFrames();
    const QListWidgetItem *entry = ListView1->currentItem();
    switch (entry ? entry->data(Qt::UserRole).toInt() : 0) {
    case 1: ShowRateFrame(); break;
    case 2: ShowDecoFrame(); break;
    case 3: ShowUnitsFrame(); break;
    case 4: ShowGassesAvailFrame(); break;
    case 5: ShowAltitudeFrame(); break;
    case 6: ShowRebreatherFrame(); break;
    case 7: ShowGasSettings(); break;
    case 8: ShowWarningsFrame(); break;
    default: break;
    }
}
