// What the diver reads in the gradient-factor and custom-gas dialogs is whole, in
// English and in German (the longer texts): no caption, label or button text is cut off
// and no two of them cover each other.

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "settings/frmConservatism.h"
#include "settings/frmGasBlend.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

QString describe(const QWidget *w)
{
    return w->parentWidget()->objectName() + '.' + w->objectName();
}

// The visible texts of a window that are cut off or covered, one line each.
std::string clippedTexts(QWidget *window)
{
    window->show();
    QApplication::processEvents();
    QStringList faults;
    QList<QWidget *> shown;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window->window())
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                            : l->sizeHint().width() <= l->width()
                                                  && l->sizeHint().height() <= l->height();
            if (!fits)
                faults << describe(l) + " cut off: \"" + l->text() + '"';
            shown << l;
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !qobject_cast<QToolButton *>(w)) {
            if (b->sizeHint().width() > b->width())
                faults << describe(b) + " cut off: \"" + b->text() + '"';
            shown << b;
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            if (g->minimumSizeHint().width() > g->width())
                faults << describe(g) + " title cut off: \"" + g->title() + '"';
        } else if (qobject_cast<QLineEdit *>(w)) {
            shown << w;
        }
    }
    for (QWidget *a : shown) {
        if (!a->parentWidget()->rect().contains(a->geometry()))
            faults << describe(a) + " reaches outside " + a->parentWidget()->objectName();
        for (QWidget *b : shown)
            if (a < b && a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                faults << describe(a) + " and " + describe(b) + " overlap";
    }
    return faults.join('\n').toStdString();
}

class SettingsLayoutTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = GetParam();
        ASSERT_EQ(LoadLanguageDll(name), 1);
        // The program's own font (set at start-up), which the layouts are made for.
        font_ = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        gSettings.resize(2);
        gSettings[1].Template.GFLow = 0.3f;
        gSettings[1].Template.GFHigh = 0.85f;
        shell.activeProfile = 1;
        shell.openDives = {1};
    }
    void TearDown() override
    {
        QApplication::setFont(font_);
        FreeLanguageDll();
        ResetEngineGlobals();
    }

    ScopedEnv install{"DOLV_INSTALL_DIR", DOLV_SOURCE_DIR};
    FakeShellServices shell;
    QFont font_;
};

} // namespace

TEST_P(SettingsLayoutTest, NoTextIsCutOffOrCovered)
{
    frmConservatism conservatism;
    EXPECT_EQ(conservatism.Check1->text(), GetLangStringQ(1709)) << "the window speaks the language";
    EXPECT_EQ(clippedTexts(&conservatism), "");
    frmGasBlend gas;
    gas.SetTemplate(1);
    EXPECT_EQ(clippedTexts(&gas), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &info) { return std::string(info.param).substr(5, 2); });
