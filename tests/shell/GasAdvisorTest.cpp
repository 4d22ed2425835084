// The gas advisor of the waypoint dialog: the panels, the information boxes, typed mixes
// and adding a mix to the dive's gases. (Its arithmetic: tests/engine/GasAdvisorTest.cpp.)

#include "tests/shell/WaypointFormFixture.h"

#include "engine/GasAdvisor.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"

namespace {

QString lang(int16_t id) { return QString::fromStdString(GetLangString(id)); }

} // namespace

// The panels show what the advisor's arithmetic gives, and hide the add button of a
// family without a mix.
TEST_F(WaypointFormTest, PanelsShowTheBestMixOfEachFamily)
{
    for (const float depth : {40.0f, 20.0f}) {
        SCOPED_TRACE(depth);
        TemplateRec &t = dive();
        t.Metric = true;
        t.OpenCircuit = true;
        t.MaxPPO2 = 1.4f;
        t.MaximalEND = 30;
        open(depth);
        const AdvisedMix nitrox = BestNitrox(t, depth), trimix = BestTrimix(t, depth),
                         heliox = BestHeliox(t, depth);
        const auto pc = [](float f) {
            return QString::fromStdString(FormatFixed(static_cast<float>(double(f) * 100.0), 0));
        };
        EXPECT_EQ(text("Text1"), nitrox.Possible ? pc(nitrox.O2) : "n/a");
        EXPECT_EQ(text("Text2"), nitrox.Possible ? pc(nitrox.N2) : "n/a");
        EXPECT_EQ(text("Text3"), "n/a");
        EXPECT_EQ(text("Text6"), pc(trimix.O2));
        EXPECT_EQ(text("Text4"), pc(trimix.He));
        EXPECT_EQ(text("Text5"), pc(trimix.N2));
        EXPECT_EQ(text("Text9"), heliox.Possible ? pc(heliox.O2) : "n/a");
        EXPECT_EQ(text("Text7"), heliox.Possible ? pc(heliox.He) : "n/a");
        EXPECT_EQ(text("Text8"), "n/a");
        EXPECT_EQ(child<QPushButton>("cbNitroxAdd")->isVisible(), nitrox.Possible);
        EXPECT_EQ(child<QPushButton>("cbHelioxAdd")->isVisible(), heliox.Possible);
        EXPECT_TRUE(child<QPushButton>("cbTrimixAdd")->isVisible());
        form.reset();
    }
}

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
    EXPECT_EQ(text("Text1"), "32.") << "a decimal on the way";

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

// A percentage is read in either notation as the whole percent the custom-gas window
// rounds it to (32.5 is 33, never 325); a mix without oxygen is said to be unbreathable.
TEST_F(WaypointFormTest, TypedDecimalsAreTheWholePercentTheyRoundTo)
{
    open(30, 10, 0);
    type("Text1", "32,5");
    EXPECT_TRUE(text("Text1") == "32,5" && text("Text2") == "67") << "kept as typed while typed";
    type("Text7", "32.5"); // helium; Text1, left, shows what it was read as
    EXPECT_TRUE(text("Text1") == "33" && text("Text9") == "67");
    click("cbNitroxAdd");
    click("cbHelioxAdd");
    ASSERT_EQ(dive().Gases.size(), 5u);
    EXPECT_TRUE(dive().Gases[3] == (GasRecord{"EAN33", 33, 67, 0, 0}) && dive().Gases[4] == (GasRecord{"H33", 67, 0, 33, 0}));
    type("Text6", "0");
    EXPECT_EQ(info("Text12"), lang(6041) + ":  0.00 bar\n" + lang(7094));
    EXPECT_EQ(child<QPlainTextEdit>("Text12")->palette().color(QPalette::Text), QColor(255, 0, 0));
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
    type("Text1", "0"); // EAN0
    TestHooks::msgBoxAnswers.push_back(vbOK);
    click("cbNitroxAdd");
    expectOneBox(GetLangStringQ(7093), vbOKOnly);
    EXPECT_EQ(dive().Gases.size(), 3u);
}
