// OK refuses a minimum ppO2 at or above the maximum, as the readers do: every ppO2 of the
// dive would be warned of on one side or the other.

#include "tests/settings/PropertiesFixture.h"

#include "engine/DiveBounds.h"
#include "engine/EngineHost.h"

#include <QListWidget>
#include <QPushButton>

TEST_F(PropertiesTest, AMinimumPPO2AboveTheMaximumIsRefusedAtOkAndStoresNothing)
{
    open();
    const TemplateRec before = dive();
    dialog->tbMinPPO->setText(QStringLiteral("1.5"));
    dialog->tbMaxPPO->setText(QStringLiteral("1.4"));
    TestHooks::msgBoxAnswers.push_back(vbOK);
    dialog->cbOK->click();
    QApplication::processEvents();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    TemplateRec typed = before;
    typed.MinPPO2 = 1.5f;
    typed.MaxPPO2 = 1.4f;
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt.toStdString(), DiveBounds::SettingsProblem(typed));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->ListView1->currentRow(), 6);
    EXPECT_TRUE(dialog->tbMinPPO->hasFocus());
    EXPECT_EQ(dive().MinPPO2, before.MinPPO2);
    EXPECT_EQ(dive().MaxPPO2, before.MaxPPO2);
    EXPECT_TRUE(shell.reEvaluated.empty());
    dialog->cbCancel->click();
}
