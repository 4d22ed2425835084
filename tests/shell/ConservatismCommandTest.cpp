// The gradient-factor dialog in the running program: the main window's commands open it
// on the active dive, new factors change the plan, and closing the dive then asks to save.

#include "tests/shell/EditorFixture.h"

#include "settings/frmConservatism.h"

#include <QCheckBox>
#include <QLineEdit>

#include <utility>
#include <vector>

namespace {

// The stops a diver reads off the plan: depth and minutes.
std::vector<std::pair<float, float>> stops(const ClassProfile &p)
{
    std::vector<std::pair<float, float>> v;
    for (int16_t i = 1; i <= p.GetLength(); ++i)
        if (p.GetStatus(i) == 4)
            v.emplace_back(p.getDepth(i), p.getStopTime(i));
    return v;
}

void setFactors(QDialog *d, const char *low, const char *high)
{
    auto *dialog = static_cast<frmConservatism *>(d);
    dialog->Text1->setText(QString::fromLatin1(low));
    dialog->Text2->setText(QString::fromLatin1(high));
    dialog->cbOK->click();
}

} // namespace

class ConservatismCommandTest : public EditorTest {};

TEST_F(ConservatismCommandTest, NewFactorsReplanTheDiveAndClosingAsksToSave)
{
    leg(60, 25);
    editor->StartDeco();
    gSettings[1].ProfileChanged = false; // as it is right after saving
    const auto before = stops(editor->dive().InputProfile);
    ASSERT_GE(before.size(), 3u);

    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *dialog = static_cast<frmConservatism *>(d);
        EXPECT_EQ(dialog->DiveNumber(), 1);
        EXPECT_EQ(dialog->Text1->text(), "0.30");
        EXPECT_EQ(dialog->Text2->text(), "0.80");
        setFactors(d, "0.40", "0.70");
    });
    gMainForm->mnuConservatism->trigger(); // Ctrl+R
    EXPECT_EQ(TestHooks::modalWindows.count(QStringLiteral("frmConservatism")), 1);
    EXPECT_FLOAT_EQ(dive().GFLow, 0.4f);
    EXPECT_FLOAT_EQ(dive().GFHigh, 0.7f);

    EXPECT_EQ(editor->EditorState(), 2) << "the dive is planned again, not just drawn";
    const auto after = stops(editor->dive().InputProfile);
    ASSERT_FALSE(after.empty());
    EXPECT_NE(after, before);
    // A larger first-stop factor lets the diver start the stops no deeper.
    EXPECT_LE(after.front().first, before.front().first);

    TestHooks::msgBoxAnswers.push_back(vbNo);
    editor->parentWidget()->close();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u) << "closing asks to save the changed dive";
    EXPECT_EQ(TestHooks::msgBoxes[0].title, GetLangStringQ(3059));
}

TEST_F(ConservatismCommandTest, EveryCommandOpensItAndWithoutADiveItEditsTheDefaults)
{
    int opened = 0;
    const auto cancel = [&opened](QDialog *d) {
        ++opened;
        static_cast<frmConservatism *>(d)->cbCancel->click();
    };
    for (QAction *command : {gMainForm->Button(QStringLiteral("Conservatism")), gMainForm->ShowConservatism}) {
        TestHooks::modalHandlers.push_back(cancel);
        command->trigger();
    }
    EXPECT_EQ(opened, 2);
    EXPECT_FALSE(gSettings[1].ProfileChanged);

    gSettings[1].ProfileChanged = false;
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        EXPECT_EQ(static_cast<frmConservatism *>(d)->DiveNumber(), 0);
        setFactors(d, "0.35", "0.75");
    });
    gMainForm->mnuConservatism->trigger();
    EXPECT_FLOAT_EQ(gSettings[0].Template.GFLow, 0.35f);
    EXPECT_FLOAT_EQ(gSettings[0].Template.GFHigh, 0.75f);
}
