// OK refuses a minimum ppO2 at or above the maximum, as the readers do.

#include "tests/settings/PropertiesFixture.h"

#include "engine/EngineHost.h"
#include "platform/LocaliseForm.h"

#include <QListWidget>
#include <QPushButton>

TEST_F(PropertiesTest, AMinimumPPO2AboveTheMaximumIsRefusedAtOkAndStoresNothing)
{
    open();
    const TemplateRec before = dive();
    dialog->tbMinPPO->setText(QStringLiteral("1.5"));
    TestHooks::msgBoxAnswers.push_back(vbOK);
    dialog->cbOK->click();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.startsWith(GetLangStringQ(7076).section("%1", 0, 0)));
    EXPECT_TRUE(dialog->isVisible() && dialog->tbMinPPO->hasFocus());
    EXPECT_EQ(dialog->ListView1->currentRow(), 6);
    EXPECT_EQ(dive().MinPPO2, before.MinPPO2) << "the record is unchanged";
    EXPECT_EQ(dive().MaxPPO2, before.MaxPPO2);
    EXPECT_TRUE(shell.reEvaluated.empty());
    dialog->cbCancel->click();
}
