// The small windows: disclaimer, about and contributors, language chooser, progress box,
// error box and help; and no window of ours shows a missing-string form.

#include "engine/AppPaths.h"
#include "engine/RuntimeError.h"
#include "platform/RegEditModule.h"
#include "platform/ErrorModule.h"
#include "shell/HelpWindow.h"
#include "shell/frmAbout.h"
#include "shell/frmContributers.h"
#include "shell/frmLanguages.h"
#include "shell/frmWait.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/ScopedEnv.h"

#include <QListWidget>
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTextBrowser>
#include <QToolBar>

#include <filesystem>
#include <fstream>
#include <iterator>

class SmallDialogsTest : public StartUpFixture {};


namespace {

// Every text a user can read in the window: caption, labels, buttons, frames, menu items
// and tool tips.
QStringList shownTexts(QWidget *w)
{
    QStringList texts{w->windowTitle(), w->toolTip()};
    for (auto *l : w->findChildren<QLabel *>())
        texts << l->text();
    for (auto *b : w->findChildren<QAbstractButton *>())
        texts << b->text() << b->toolTip();
    for (auto *g : w->findChildren<QGroupBox *>())
        texts << g->title();
    for (auto *a : w->findChildren<QAction *>())
        texts << a->text() << a->toolTip();
    return texts;
}

void expectNoMissingStrings(QWidget *w)
{
    for (const QString &t : shownTexts(w))
        EXPECT_FALSE(t.contains("*StringID")) << w->objectName().toStdString() << ": " << t.toStdString();
}

TEST_F(SmallDialogsTest, NoWindowShowsAMissingString)
{
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        expectNoMissingStrings(d);
        agree(d);
    });
    ASSERT_TRUE(start("/vpm /hybrid"));
    expectNoMissingStrings(gMainForm);
    for (QAction *a : gMainForm->tbToolBar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->toolTip().isEmpty()) << a->objectName().toStdString();
        }
    }
    for (QMenu *m : gMainForm->findChildren<QMenu *>()) {
        for (QAction *a : m->actions()) {
            EXPECT_FALSE(!a->isSeparator() && a->text().isEmpty()) << m->objectName().toStdString();
        }
    }
    expectNoMissingStrings(ActiveEditor());

    frmAbout about(gMainForm);
    expectNoMissingStrings(&about);
    frmContributers contributors(gMainForm);
    expectNoMissingStrings(&contributors);
    frmLanguages languages(gMainForm);
    expectNoMissingStrings(&languages);
    expectNoMissingStrings(frmWait::Instance());
    frmWait::Unload();
}

TEST_F(SmallDialogsTest, TheAboutBoxShowsTheVersionAndOpensItsPages)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frmAbout::VersionLine(1, 2, 298), "Version 1.2 Build:298");
    EXPECT_EQ(frmAbout::VersionLine(1, 0, 0), "Version 1.0 Build:0");
    TestHooks::modalHandlers.push_back([](QDialog *d) {
        auto *about = static_cast<frmAbout *>(d);
        EXPECT_EQ(about->windowTitle(), GetLangStringQ(1300));
        EXPECT_TRUE(about->Label1->text().startsWith("Version "));
        about->Command1->click();
        about->Command2->click();
        TestHooks::modalHandlers.push_back([](QDialog *c) {
            EXPECT_EQ(c->objectName(), "frmContributers");
            EXPECT_TRUE(static_cast<frmContributers *>(c)->Contrib1Name->text().endsWith(':'));
            static_cast<frmContributers *>(c)->Command1->click();
        });
        about->Contrib->click();
        about->cmdOK->click();
    });
    gMainForm->mnuHelpAbout->trigger();
    EXPECT_EQ(TestHooks::urlsOpened.size(), 2);
    EXPECT_NE(TestHooks::urlsOpened.value(0), TestHooks::urlsOpened.value(1));
    EXPECT_EQ(TestHooks::modalWindows, QStringList({"frmLiability", "frmAbout", "frmContributers"}));
}

TEST_F(SmallDialogsTest, WithoutASystemInformationToolTheAboutBoxSaysSo)
{
    ASSERT_TRUE(start());
    QTemporaryDir nothing;
    ScopedEnv path("PATH", nothing.path().toStdString());
    frmAbout about(gMainForm);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    about.cmdSysInfo->click();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].prompt, GetLangStringQ(1064));
    EXPECT_TRUE(TestHooks::programsStarted.isEmpty());
}

class LanguageChooserTest : public StartUpFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start());
        // The chooser lists the languages of a folder of its own.
        install_ = std::make_unique<TempInstallDir>();
    }
    void TearDown() override
    {
        install_.reset();
        StartUpFixture::TearDown();
    }
    QList<QRadioButton *> shown(frmLanguages &f)
    {
        QList<QRadioButton *> list;
        for (QRadioButton *o : f.Option1)
            if (!o->isHidden())
                list << o;
        return list;
    }
    std::unique_ptr<TempInstallDir> install_;
};

TEST_F(LanguageChooserTest, OneLanguageIsShownAndChosen)
{
    install_->write("lang/DOLV_uk.lng", "999\tEnglish\n");
    frmLanguages f(gMainForm);
    const auto options = shown(f);
    ASSERT_EQ(options.size(), 1);
    EXPECT_EQ(options[0]->text(), "English");
    EXPECT_TRUE(options[0]->isChecked());
    f.Command1->click();
    EXPECT_EQ(GetRegString("Language", ""), "DOLV_uk.lng");
}

TEST_F(LanguageChooserTest, ThreeLanguagesSizeTheWindowAndCancelWritesNothing)
{
    install_->write("lang/DOLV_uk.lng", "999\tEnglish\n");
    install_->write("lang/DOLV_de.lng", "999\tDeutsch\n");
    install_->write("lang/DOLV_Fr.lng", "1\tno name\n");
    install_->write("lang/other.lng", "999\tOther\n");
    SetRegString("Language", "", "DOLV_fr.lng"); // differs from DOLV_Fr.lng in case only
    frmLanguages f(gMainForm);
    const auto options = shown(f);
    ASSERT_EQ(options.size(), 3);
    QStringList names;
    for (auto *o : options) {
        names << o->text();
        EXPECT_FALSE(o->isChecked());
    }
    EXPECT_TRUE(names.contains("*StringID 999*"));
    // Frame 1165 twips, buttons at 1365, window 2265: 15 twips to a pixel.
    EXPECT_EQ(f.Frame1->height(), 1165 / 15);
    EXPECT_EQ(f.Command1->y(), 1365 / 15);
    EXPECT_EQ(f.Command2->y(), 1365 / 15);
    EXPECT_EQ(f.height(), 2265 / 15);
    f.Command1->click(); // none chosen: nothing written
    EXPECT_EQ(GetRegString("Language", ""), "DOLV_fr.lng");

    frmLanguages g(gMainForm);
    shown(g)[0]->setChecked(true);
    g.Command2->click();
    EXPECT_EQ(GetRegString("Language", ""), "DOLV_fr.lng");
}

TEST_F(LanguageChooserTest, AnUnreadableLanguageIsReportedAndLeftOut)
{
    install_->write("lang/DOLV_uk.lng", "999\tEnglish\n");
    std::filesystem::create_symlink(install_->path() + "/lang/gone", install_->path() + "/lang/DOLV_aa.lng");
    TestHooks::msgBoxAnswers.push_back(vbOK);
    frmLanguages f(gMainForm);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_TRUE(TestHooks::msgBoxes[0].prompt.endsWith("DOLV_aa.lng not found"));
    EXPECT_FALSE(ApplicationEnding());
    ASSERT_EQ(shown(f).size(), 1);
    EXPECT_EQ(shown(f)[0]->text(), "English");
}

TEST_F(SmallDialogsTest, TheProgressBoxShowsTheHourglassWhileItIsLoaded)
{
    ASSERT_TRUE(start());
    frmWait *wait = frmWait::Instance();
    EXPECT_EQ(wait, frmWait::Instance()); // one box for the program
    EXPECT_EQ(wait->windowTitle(), GetLangStringQ(1066));
    EXPECT_EQ(wait->Label1->text(), GetLangStringQ(1067));
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    wait->Label1->setText("page 1");
    wait->Label1->setText("page 2");
    frmWait::Unload();
    EXPECT_FALSE(frmWait::Loaded());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(ErrorBox, ShowsNumberPlaceAndDescription)
{
    RuntimeError e(91, "GenerateReport.LongReport", "Object variable not set");
    EXPECT_EQ(ErrorInfoText(e), "Error #  91 was generated by GenerateReport.LongReport\r"
                                "Object variable not set\r\nPlease contact author with this information");
    EXPECT_TRUE(ErrorInfoText(RuntimeError(-5, "x", "y")).startsWith("Error # -5 was"));
    TestHooks::msgBoxAnswers.push_back(vbOK);
    ShowErrorInfo(e);
    ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
    EXPECT_EQ(TestHooks::msgBoxes[0].title, "Error");
    EXPECT_EQ(TestHooks::msgBoxes[0].buttons, vbOKOnly);
    ShowErrorInfo(RuntimeError(0, "x", "y")); // no error: no box
    EXPECT_EQ(TestHooks::msgBoxes.size(), 1u);
    TestHooks::msgBoxAnswers = {vbOK, vbOK}; // the command guard catches any error
    RunGuarded("frm.cmd", [] { throw std::overflow_error("Overflow"); });
    RunGuarded("frm.cmd", [] { throw 42; });
    ASSERT_EQ(TestHooks::msgBoxes.size(), 3u);
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.startsWith("Error #  51 was generated by frm.cmd\rOverflow"));
    EXPECT_TRUE(TestHooks::msgBoxes[2].prompt.startsWith("Error #  51 was generated by frm.cmd\rInternal error"));
}

TEST_F(SmallDialogsTest, HelpOpensTheLanguagesHelpFile)
{
    ASSERT_TRUE(start());
    gMainForm->mnuHelpContents->trigger();
    auto *help = gMainForm->findChild<HelpWindow *>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->Browser()->toPlainText().isEmpty());
    EXPECT_FALSE(help->Keywords().isEmpty());
    gMainForm->mnuHelpSearch->trigger();
    EXPECT_EQ(gMainForm->findChildren<HelpWindow *>().size(), 1);
    EXPECT_TRUE(TestHooks::msgBoxes.empty());
}

TEST(HelpWindowTest, KeywordsAreFoundByTheirFirstLetters)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/h.hlp";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><head><title>Help</title></head><body><h1>Contents</h1>"
            "<p><a name=\"kw-gradient-factors\"></a>GF</p><p><a name=\"kw-gas-blending\"></a>Mix</p>"
            "</body></html>");
    f.close();
    HelpWindow help;
    QString error;
    ASSERT_TRUE(help.Open(path, &error));
    EXPECT_EQ(help.Keywords(), QStringList({"kw-gradient-factors", "kw-gas-blending"}));
    EXPECT_TRUE(help.ShowKeyword("Gradient"));
    EXPECT_TRUE(help.ShowKeyword("gas b"));
    EXPECT_FALSE(help.ShowKeyword("oxygen"));
    EXPECT_EQ(help.windowTitle(), "Help");
    EXPECT_FALSE(help.Open(dir.path() + "/missing.hlp", &error));
    EXPECT_TRUE(error.contains("missing.hlp"));
}

TEST(HelpWindowTest, GermanKeywordsAreFoundWithTheirUmlauts)
{
    HelpWindow help;
    QString error;
    ASSERT_TRUE(help.Open(DOLV_SOURCE_DIR "/lang/DOLV_de.hlp", &error)) << error.toStdString();
    EXPECT_TRUE(help.ShowKeyword(QString::fromUtf8("Oberflä")));
    EXPECT_TRUE(help.ShowKeyword(QString::fromUtf8("OBERFLÄCHENPAUSE")));
    EXPECT_TRUE(help.ShowKeyword("Oberflae"));
    EXPECT_FALSE(help.ShowKeyword(QString::fromUtf8("Überdruckxyz")));
    // The list shows the word, not its ASCII spelling, and either finds it.
    const auto *list = help.findChild<QListWidget *>(QStringLiteral("keywords"));
    ASSERT_EQ(list->findItems(QString::fromUtf8("menü"), Qt::MatchExactly).size(), 1);
    EXPECT_TRUE(help.ShowKeyword(QString::fromUtf8("Menü")));
    EXPECT_TRUE(list->findItems(QStringLiteral("menue"), Qt::MatchExactly).isEmpty());
}

TEST(HelpWindowTest, AMissingHelpFileSaysWhich)
{
    HelpWindow help;
    QString error;
    QTemporaryDir dir;
    EXPECT_FALSE(help.Open(dir.path() + "/missing.hlp", &error));
    EXPECT_TRUE(error.contains("missing.hlp"));
}

TEST_F(SmallDialogsTest, AMissingHelpFileIsReported)
{
    TempInstallDir install;
    std::ifstream english(DOLV_SOURCE_DIR "/lang/DOLV_uk.lng", std::ios::binary);
    install.write("lang/DOLV_uk.lng", std::string(std::istreambuf_iterator<char>(english), {}));
    const std::string help = install.write("lang/DOLV_uk.hlp", "<html><body>Help</body></html>");
    TestHooks::msgBoxAnswers.push_back(vbOK); // this installation has no default template
    ASSERT_TRUE(start());
    EXPECT_EQ(HelpFile(), help);
    std::filesystem::remove(help);
    TestHooks::msgBoxAnswers.push_back(vbOK);
    gMainForm->mnuHelpContents->trigger();
    ASSERT_EQ(TestHooks::msgBoxes.size(), 2u);
    EXPECT_TRUE(TestHooks::msgBoxes[1].prompt.contains(QString::fromStdString(help)));
}

} // namespace
