// The settings dialog checks each number box when the diver leaves it: a text that is no
// positive number becomes the default of the shown units and one message says so, after
// the focus has moved. The page list shows one page at a time.

#include "tests/settings/PropertiesFixture.h"

#include "engine/EngineHost.h"
#include "platform/LocaliseForm.h"
#include "platform/Twips.h"

#include <QGroupBox>
#include <QListWidget>
#include <QTest>

namespace {

struct Check {
    const char *box;
    int page; // 1 to 8, as the page list counts
    const char *metricDefault, *imperialDefault;
    int16_t message;
    const char *metricSuffix, *imperialSuffix;
    const char *typed; // a refused text
};

const Check kChecks[] = {
    {"tbStepSize", 2, "3", "10", 3046, "", "", ""},
    {"tbLastStop", 2, "3", "10", 3047, "", "", "0"},
    {"tbRMV", 7, "20", "0.6", 3049, " L/Min", " CuFt", ""},
    {"Text8", 2, "20", "0.6", 3049, " L/Min", " CuFt", "-2"},
    {"tbMinPPO", 7, "0.16", "0.16", 3050, " Bar", " Ata", "abc"},
    {"tbMaxPPO", 7, "1.4", "1.4", 3051, " Bar", " Ata", "-1.6"},
    {"tbMaximalEND", 7, "30", "100", 3052, " Meters", " Feet", "0"},
    {"Text2", 5, "1", "1", 3053, " Meters", " Feet", "0"},
    {"Text5", 5, "1", "1", 3053, " Meters", " Feet", "3x"},
    {"Text1", 5, "1", "1", 3054, " Minutes", " Minutes", "-5"},
    {"SetPoint", 6, "1.4", "1.4", 3055, " Bar", " Ata", "0"},
    {"Text6", 6, "1.4", "1.4", 3056, " Bar", " Ata", ""},
};

} // namespace

class PropertiesChecksTest : public PropertiesTest {
protected:
    void SetUp() override
    {
        PropertiesTest::SetUp();
        dive().AdeptedToHeight = false; // the adapt time is shown
        dive().OpenCircuit = false;     // the set-points are enabled
    }

    void showPage(int page)
    {
        dialog->ListView1->setCurrentRow(page - 1);
        dialog->activateWindow();
        QApplication::processEvents();
    }

    // The diver types into a box and moves on to the page list.
    void typeAndLeave(QLineEdit *box, const QString &typed)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, typed);
        dialog->ListView1->setFocus();
    }
};

TEST_F(PropertiesChecksTest, EveryBoxRefusesWhatIsNoPositiveNumberInBothUnitSystems)
{
    for (bool metric : {true, false}) {
        dive().Metric = metric;
        open();
        for (const Check &c : kChecks) {
            SCOPED_TRACE(std::string(c.box) + (metric ? " metric" : " imperial"));
            auto *box = dialog->findChild<QLineEdit *>(QString::fromLatin1(c.box));
            ASSERT_NE(box, nullptr);
            showPage(c.page);
            TestHooks::msgBoxAnswers.push_back(vbOK);
            typeAndLeave(box, QString::fromLatin1(c.typed));
            const QString expected = QString::fromLatin1(metric ? c.metricDefault : c.imperialDefault);
            EXPECT_EQ(box->text(), expected);
            EXPECT_TRUE(TestHooks::msgBoxes.empty()) << "no box inside the focus change";
            QApplication::processEvents();
            ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
            EXPECT_EQ(TestHooks::msgBoxes[0].prompt,
                      GetLangStringQ(c.message) + expected + QString::fromLatin1(metric ? c.metricSuffix : c.imperialSuffix));
            EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbExclamation | vbOKOnly);
            // Back into the box and out again without typing: no second message.
            box->setFocus();
            dialog->ListView1->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(TestHooks::msgBoxes.size(), 1u);
            TestHooks::msgBoxes.clear();
        }
    }
    // A positive value stays, however large.
    showPage(7);
    typeAndLeave(dialog->tbRMV, QStringLiteral("250"));
    QApplication::processEvents();
    EXPECT_EQ(dialog->tbRMV->text(), "250");
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
}

TEST_F(PropertiesChecksTest, ARefusedDecoPPO2BecomesOneAndTheAutomaticDepthsFollow)
{
    dive().GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
    dive().AutoDecoGas = true;
    for (bool metric : {true, false}) {
        dive().Metric = metric;
        open();
        showPage(2);
        TestHooks::msgBoxAnswers.push_back(vbOK);
        typeAndLeave(dialog->Text7, QStringLiteral("-1"));
        QApplication::processEvents();
        EXPECT_EQ(dialog->Text7->text(), "1.0");
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt,
                  GetLangStringQ(3048) + "1.0 " + (metric ? GetLangStringQ(1220) : GetLangStringQ(1221)));
        // Oxygen reaches 1.0 above the water; EAN50 at (2.0 - 1.013) x 10 = 9.87 m = 32.4 ft.
        EXPECT_EQ(column(dialog->fgGasChange, 0), QStringList({"0", metric ? "10" : "32"}));
        TestHooks::msgBoxes.clear();
    }
}

// The default texts are written with the diver's decimal separator, so a German
// maximum ppO2 of "1,4" is 1.4 bar and not 14.
TEST_F(PropertiesChecksTest, DefaultsUseTheUsersDecimalSeparator)
{
    const std::string dec = gDecimalSeparator, thou = gThousandSeparator;
    gDecimalSeparator = ",";
    gThousandSeparator = ".";
    open();
    EXPECT_EQ(dialog->tbMaxPPO->text(), "1,40");
    showPage(7);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    typeAndLeave(dialog->tbMaxPPO, QStringLiteral("0"));
    QApplication::processEvents();
    EXPECT_EQ(dialog->tbMaxPPO->text(), "1,4");
    EXPECT_FLOAT_EQ(TextValue(dialog->tbMaxPPO->text()), 1.4f);
    typeAndLeave(dialog->tbRMV, QStringLiteral("17,5"));
    QApplication::processEvents();
    EXPECT_EQ(dialog->tbRMV->text(), "17,5") << "a German number is a number";
    gDecimalSeparator = dec;
    gThousandSeparator = thou;
}

TEST_F(PropertiesChecksTest, EachListEntryShowsOnlyItsPageBesideTheList)
{
    open();
    const QList<QGroupBox *> pages = {dialog->Frame13, dialog->Frame15, dialog->Frame2, dialog->Frame4,
                                      dialog->Frame1,  dialog->Frame8,  dialog->Frame14, dialog->Frame9};
    const auto visible = [&] {
        QList<QGroupBox *> out;
        for (QGroupBox *p : pages)
            if (p->isVisible())
                out << p;
        return out;
    };
    EXPECT_EQ(visible(), QList<QGroupBox *>({dialog->Frame13})) << "the rates first";
    EXPECT_EQ(dialog->ListView1->item(3)->text(), "Gases");
    dialog->ListView1->setCurrentRow(3);
    EXPECT_EQ(visible(), QList<QGroupBox *>({dialog->Frame4}));
    EXPECT_EQ(dialog->Frame4->pos(), QPoint(TwipsToPixels(2000), TwipsToPixels(360)));
    dialog->ListView1->setCurrentRow(7);
    EXPECT_EQ(visible(), QList<QGroupBox *>({dialog->Frame9}));
}
