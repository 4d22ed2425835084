// The gas advisor of the waypoint dialog: best mixes at the edges of the limits, checked
// against whole-percent arithmetic done here in integers; the information boxes; typed
// mixes; adding a mix to the dive's gases.

#include "tests/shell/WaypointFormFixture.h"

#include "engine/ResourceManager.h"

namespace {

QString lang(int16_t id) { return QString::fromStdString(GetLangString(id)); }

struct Dive {
    bool metric;
    bool openCircuit;
    bool o2Narcotic;
    int limitCentibar; // the ppO2 limit in hundredths (MaxPPO2 or Setpoint)
    int maxEND;        // depth units
    int depth;         // depth units
};

struct Mixes {
    QString nitroxO2, nitroxN2, trimixO2, trimixHe, trimixN2, helioxO2, helioxHe;
};

// The best mixes in whole percent, by exact integer arithmetic at sea level: with
// k = 10 (m/bar) or 33 (ft/atm), the absolute depth is A = k + d depth units. The best
// O2 is the largest whole percent p with p/100 x A/k <= limit; a gas is narcotic up to
// the share (k + END) / A of the breath (nitrogen counted against the 79 % of air).
Mixes reference(const Dive &dv)
{
    const int k = dv.metric ? 10 : 33;
    const int A = k + dv.depth;
    const int o2 = std::min(100, dv.limitCentibar * k / A);
    Mixes m;
    m.trimixO2 = m.helioxO2 = QString::number(o2);

    const bool nitroxFits = dv.o2Narcotic ? dv.maxEND >= dv.depth
                                          : (100 - o2) * A <= 79 * (k + dv.maxEND);
    m.nitroxO2 = nitroxFits ? QString::number(o2) : "n/a";
    m.nitroxN2 = nitroxFits ? QString::number(100 - o2) : "n/a";

    int n2;
    if (dv.o2Narcotic)
        n2 = 100 * (k + dv.maxEND) / A - o2; // narcotic share less the oxygen
    else
        n2 = 79 * (k + dv.maxEND) / A;
    n2 = std::clamp(n2, 0, 100 - o2);
    m.trimixN2 = QString::number(n2);
    m.trimixHe = QString::number(100 - o2 - n2);

    // Heliox: only the oxygen can be narcotic; its END is o2/100 x A - k.
    const bool helioxFits = !dv.o2Narcotic || o2 * A <= 100 * (k + dv.maxEND);
    m.helioxO2 = helioxFits ? QString::number(o2) : "n/a";
    m.helioxHe = helioxFits ? QString::number(100 - o2) : "n/a";
    return m;
}

struct AdvisorCase {
    const char *name;
    Dive dive;
};

void PrintTo(const AdvisorCase &c, std::ostream *os) { *os << c.name; }

class BestMixTest : public WaypointFormTest, public ::testing::WithParamInterface<AdvisorCase> {};

} // namespace

TEST_P(BestMixTest, PanelsShowTheBestMixOfEachFamily)
{
    const Dive &dv = GetParam().dive;
    TemplateRec &t = dive();
    t.Metric = dv.metric;
    t.OpenCircuit = dv.openCircuit;
    t.O2Narcotic = dv.o2Narcotic;
    (dv.openCircuit ? t.MaxPPO2 : t.Setpoint) = dv.limitCentibar / 100.0f;
    t.MaximalEND = static_cast<float>(dv.maxEND);
    open(static_cast<float>(dv.depth));

    const Mixes want = reference(dv);
    EXPECT_EQ(text("Text1"), want.nitroxO2);
    EXPECT_EQ(text("Text2"), want.nitroxN2);
    EXPECT_EQ(text("Text3"), "n/a");
    EXPECT_EQ(text("Text6"), want.trimixO2);
    EXPECT_EQ(text("Text4"), want.trimixHe);
    EXPECT_EQ(text("Text5"), want.trimixN2);
    EXPECT_EQ(text("Text9"), want.helioxO2);
    EXPECT_EQ(text("Text7"), want.helioxHe);
    EXPECT_EQ(text("Text8"), "n/a");
    // No add button for a family without a mix.
    EXPECT_EQ(child<QPushButton>("cbNitroxAdd")->isVisible(), want.nitroxO2 != "n/a");
    EXPECT_EQ(child<QPushButton>("cbHelioxAdd")->isVisible(), want.helioxO2 != "n/a");
    EXPECT_TRUE(child<QPushButton>("cbTrimixAdd")->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BestMixTest,
    ::testing::Values(
        // 40 m: nitrox 72 % N2 exceeds the limit 0.79 x 40 / 50 = 63.2 %; trimix 28/9/63.
        AdvisorCase{"Metres40", {true, true, false, 140, 30, 40}},
        // The last whole metre with a nitrox: 69 % N2 within 0.79 x 40 / 45 = 70.2 %.
        AdvisorCase{"Metres35StillNitrox", {true, true, false, 140, 30, 35}},
        AdvisorCase{"Metres36", {true, true, false, 140, 30, 36}},
        AdvisorCase{"Metres20", {true, true, false, 140, 30, 20}},
        AdvisorCase{"Surface", {true, true, false, 140, 30, 0}},
        AdvisorCase{"Metres90", {true, true, false, 140, 30, 90}},
        AdvisorCase{"RebreatherSetpoint30m", {true, false, false, 130, 30, 30}},
        AdvisorCase{"Feet99", {false, true, false, 140, 100, 99}},
        AdvisorCase{"Feet198", {false, true, false, 140, 100, 198}},
        AdvisorCase{"NarcoticAtTheEndLimit", {true, true, true, 140, 30, 30}},
        AdvisorCase{"NarcoticBeyondTheEndLimit", {true, true, true, 140, 30, 31}},
        AdvisorCase{"NarcoticSurface", {true, true, true, 140, 30, 0}},
        // Oxygen alone (28 % at 5 bar: END 4 m) exceeds an END limit of 3 m.
        AdvisorCase{"NarcoticOxygenAloneTooNarcotic", {true, true, true, 140, 3, 40}},
        AdvisorCase{"NarcoticFeet", {false, true, true, 140, 100, 132}}),
    [](const ::testing::TestParamInfo<AdvisorCase> &info) { return info.param.name; });

TEST_F(WaypointFormTest, HoverShowsTheMixItsEndAndPpO2)
{
    open(40);
    hover("Label12");
    EXPECT_TRUE(child<QPlainTextEdit>("Text10")->isVisible());
    EXPECT_EQ(info("Text10"), lang(3065) + "\n28/9/63");
    // END = 5 bar x 0.63 / 0.79 x 10 - 10 = 29.87 m; ppO2 = 5 x 0.28 = 1.40 bar.
    EXPECT_EQ(info("Text11"), "    " + lang(6044) + ":  29.9m");
    EXPECT_EQ(info("Text12"), lang(6041) + ":  1.40 bar");
    const QColor black(0, 0, 0), red(255, 0, 0);
    EXPECT_EQ(child<QPlainTextEdit>("Text11")->palette().color(QPalette::Text), black);
    EXPECT_EQ(child<QPlainTextEdit>("Text12")->palette().color(QPalette::Text), black);

    // Above the dive's limits the lines turn red.
    dive().MaximalEND = 25;
    dive().MaxPPO2 = 1.3f;
    hover("Frame5");
    EXPECT_EQ(child<QPlainTextEdit>("Text11")->palette().color(QPalette::Text), red);
    EXPECT_EQ(child<QPlainTextEdit>("Text12")->palette().color(QPalette::Text), red);

    // Nitrox has no mix at 40 m.
    hover("Text2");
    EXPECT_EQ(info("Text10"), lang(3064) + "\n Gas N/A");
    EXPECT_EQ(info("Text11"), "");
    EXPECT_TRUE(child<QPlainTextEdit>("Text11")->isVisible());

    // Helium is not narcotic: the heliox END is unbounded, in black.
    hover("Frame6");
    EXPECT_EQ(info("Text10"), lang(3066) + "\n28/72/0");
    EXPECT_EQ(info("Text11"), "    " + lang(6044) + ":  INF m");
    EXPECT_EQ(child<QPlainTextEdit>("Text11")->palette().color(QPalette::Text), black);

    // Leaving the panels hides the boxes.
    hover("Frame1");
    EXPECT_FALSE(child<QPlainTextEdit>("Text10")->isVisible());
    hover("Text9");
    hover("Frame3");
    EXPECT_FALSE(child<QPlainTextEdit>("Text12")->isVisible());
}

TEST_F(WaypointFormTest, HoverInFeetAndWithNarcoticOxygen)
{
    dive().Metric = false;
    dive().O2Narcotic = true;
    dive().MaximalEND = 100;
    open(99);
    // 4 atm: heliox 35/65, END = 0.35 x 132 - 33 = 13.2 ft; ppO2 1.40 ata.
    hover("Label14");
    EXPECT_EQ(info("Text10"), lang(3066) + "\n35/65/0");
    EXPECT_EQ(info("Text11"), "    " + lang(6044) + "  13.2ft");
    EXPECT_EQ(info("Text12"), lang(6041) + ":  1.40 ata\n" + lang(6045));
}

TEST_F(WaypointFormTest, HoverWithAnEmptyDepthShowsTheSurface)
{
    open(40);
    child("tbDepth")->clear();
    hover("Frame5");
    EXPECT_EQ(info("Text12"), lang(6041) + ":  0.28 bar");
}

TEST_F(WaypointFormTest, TypedPercentagesAreLimitedAndCompleted)
{
    open(40);
    type("Text1", "45");
    EXPECT_EQ(text("Text1"), "45");
    EXPECT_EQ(text("Text2"), "55");
    EXPECT_TRUE(child<QPushButton>("cbNitroxAdd")->isVisible());

    type("Text2", "100");
    EXPECT_EQ(text("Text2"), "99");
    EXPECT_EQ(text("Text1"), "1");

    type("Text1", "150");
    EXPECT_EQ(text("Text1"), "100");
    EXPECT_EQ(text("Text2"), "0");

    type("Text1", "32.");
    EXPECT_EQ(text("Text1"), "32");

    type("Text7", "100");
    EXPECT_EQ(text("Text7"), "99");
    EXPECT_EQ(text("Text9"), "1");

    // Trimix O2 with the helium shown: 90 + 9 fits (N2 1); 95 + 9 does not (He gives way).
    type("Text6", "90");
    EXPECT_EQ(text("Text4"), "9");
    EXPECT_EQ(text("Text5"), "1");
    type("Text6", "95");
    EXPECT_EQ(text("Text4"), "5");
    EXPECT_EQ(text("Text5"), "0");
}

TEST_F(WaypointFormTest, EnteringATypedBoxEmptiesItUntilANumberIsTyped)
{
    open(20);
    QPushButton *add = child<QPushButton>("cbNitroxAdd");
    ASSERT_TRUE(add->isVisible());
    QTest::mouseClick(child("Text2"), Qt::LeftButton);
    EXPECT_EQ(text("Text2"), "");
    EXPECT_FALSE(add->isVisible());
    QTest::keyClicks(child("Text2"), "x");
    EXPECT_FALSE(add->isVisible());
    QTest::keyClicks(child("Text2"), "6");
    EXPECT_TRUE(add->isVisible());
    EXPECT_EQ(text("Text1"), "94");
}

TEST_F(WaypointFormTest, AddButtonsAddTheMixAndSelectIt)
{
    open(40, 10, 0);
    click("cbHelioxAdd");
    auto *combo = child<QComboBox>("Combo1");
    ASSERT_EQ(dive().Gases.size(), 4u);
    const GasRecord &h = dive().Gases[3];
    EXPECT_EQ(h.Name, "H72");
    EXPECT_FLOAT_EQ(h.O2, 28);
    EXPECT_FLOAT_EQ(h.He, 72);
    EXPECT_FLOAT_EQ(h.N2, 0);
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(text("tbHe"), "72");

    // A name already in the list is selected as it is, not added again.
    type("Text1", "32");
    click("cbNitroxAdd");
    EXPECT_EQ(dive().Gases.size(), 4u);
    EXPECT_EQ(combo->currentIndex(), 1);
    click("cbNitroxAdd");
    EXPECT_EQ(dive().Gases.size(), 4u);

    // A typed trimix; the waypoint takes the mix on OK.
    type("Text4", "35");
    type("Text6", "21");
    EXPECT_EQ(text("Text5"), "44");
    click("cbTrimixAdd");
    ASSERT_EQ(dive().Gases.size(), 5u);
    EXPECT_EQ(dive().Gases[4].Name, "Tx21/35");
    EXPECT_FLOAT_EQ(dive().Gases[4].O2, 21);
    EXPECT_FLOAT_EQ(dive().Gases[4].N2, 44);
    EXPECT_FLOAT_EQ(dive().Gases[4].He, 35);
    click("cbOK");
    EXPECT_EQ(scratch.GetGasMixName(0), "Tx21/35");
    EXPECT_EQ(scratch.getmixnumber(0), 4);
    EXPECT_FLOAT_EQ(scratch.GetGasMixHe(0), 35);
}

TEST_F(WaypointFormTest, TrimixWithoutOxygenIsRefused)
{
    open(40);
    QTest::mouseClick(child("Text6"), Qt::LeftButton); // empties the O2 box
    type("Text4", "35");
    ASSERT_TRUE(child<QPushButton>("cbTrimixAdd")->isVisible());
    TestHooks::msgBoxAnswers.push_back(vbOK);
    click("cbTrimixAdd");
    expectOneBox(GetLangStringQ(6165), vbOKOnly);
    EXPECT_EQ(dive().Gases.size(), 3u);
}
