// The settings dialog in the running program: the main window's Template button opens it
// modeless on the active dive, and it goes when that dive's window closes.

#include "tests/shell/EditorFixture.h"

#include "settings/frmProperties.h"

#include <QLineEdit>

class PropertiesOnADiveTest : public EditorTest {};

TEST_F(PropertiesOnADiveTest, TheSettingsDialogEditsTheActiveDiveAndClosesWithItsWindow)
{
    dive().StepSize = 6;
    gMainForm->tbToolBar_ButtonClick(gMainForm->Button(QStringLiteral("Template")));
    QPointer<frmProperties> properties = gMainForm->findChild<frmProperties *>();
    ASSERT_TRUE(properties);
    EXPECT_TRUE(properties->isVisible() && !properties->isModal());
    EXPECT_EQ(properties->ProfileIndex, 1);
    EXPECT_EQ(properties->tbStepSize->text(), "6");
    EXPECT_EQ(properties->windowTitle(), "Default.tpl");

    if (gSettings[1].ProfileChanged)
        TestHooks::msgBoxAnswers.push_back(vbNo);
    editor->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gMainForm->MdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(properties) << "the dialog went with its dive";
}
