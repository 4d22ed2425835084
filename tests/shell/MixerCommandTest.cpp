// The gas blender from the main window, as a new user meets it: Ctrl+M or the "Mixer"
// button opens a new blender each time, working with the active dive's unit and gases.

#include "tests/shell/EditorFixture.h"

#include "blending/frmPartialMix.h"
#include "platform/MsgBox.h"
#include "print/PrintPrev.h"
#include "print/PrintPreview.h"
#include "print/PrintPrint.h"
#include "print/SpoolInterpreter.h"
#include "tests/support/SpoolFile.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>

namespace {

QList<frmPartialMix *> openBlenders()
{
    return gMainForm->findChildren<frmPartialMix *>();
}

void type(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace

TEST_F(EditorTest, CtrlMOpensANewBlenderEachTime)
{
    gMainForm->activateWindow();
    QApplication::setActiveWindow(gMainForm);
    QTest::keyClick(gMainForm, Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(openBlenders().size(), 1);
    frmPartialMix *w = openBlenders().first();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->ProfileIndex(), 1) << "the active dive";
    EXPECT_EQ(w->DesO2->text(), "32") << "its first gas after Air, EAN32";

    // 200 bar of 21/35 from an empty cylinder, then print.
    ASSERT_TRUE(w->Check1->isChecked());
    type(w->DesO2, "21");
    type(w->DesHe, "35");
    EXPECT_EQ(w->DesN2->text(), "44");
    // Percent x bar: N2 8800 - 79 = 8721 all from air, 8721 / 0.79 = 11039.2 of air, which
    // brings 2318.2 of the 4200 - 21 = 4179 of O2; He 35 x 200 = 7000.
    EXPECT_EQ(w->AirTopO2->text(), "18.6");
    EXPECT_EQ(w->AirTopHe->text(), "70.0");
    EXPECT_EQ(w->AirTopAir->text(), "110.4");
    EXPECT_TRUE(w->Command1->isEnabled());
    w->Command1->click();

    // The sheet of this blend comes up in the preview, and prints.
    PrintPrev *preview = LoadedPrintPrev();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), GetLangStringQ(1036));
    const TestSpool spool = ReadTestSpool();
    ASSERT_EQ(spool.pages.size(), 1u);
    const std::vector<std::string> texts = spool.pages[0].texts();
    const QString bar = QStringLiteral(" ") + GetLangStringQ(6314);
    for (const QString &text : {"1.0" + bar, "200.0" + bar, QString("35.0%"), QString("44.0%"), "18.6" + bar,
                                "70.0" + bar, "110.4" + bar})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text.toStdString()), texts.end()) << text.toStdString();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("sheet.pdf");
    Printer().setOutputFileName(pdf);
    TestHooks::msgBoxAnswers.push_back(vbYes); // print page 1 to 1?
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *dialog = qobject_cast<PrintPrint *>(d);
        ASSERT_NE(dialog, nullptr);
        dialog->Command1->click();
    });
    preview->Cmd_Click(3);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(PdfText(pdf, 1).contains("110.4" + bar));
    Printer().setOutputFileName(QString());
    UnloadPrintPrev();

    gMainForm->Button("Mixer")->trigger();
    EXPECT_EQ(openBlenders().size(), 2) << "a second one beside the first";
    w->Command2->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openBlenders().size(), 1) << "OK closes it";
}
