// The gas blender must be readable whole in English and in German (the longer texts): no
// caption, label, result or button is cut off and no two cover each other, with the
// longest results it can show.

#include "blending/frmPartialMix.h"
#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "platform/RegEditModule.h"
#include "tests/support/FakeShellServices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
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
        if (!w->isVisibleTo(window))
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (!l->text().isEmpty()
                && (l->sizeHint().width() > l->width() || l->sizeHint().height() > l->height()))
                faults << describe(l) + " cut off: \"" + l->text() + '"';
            shown << l;
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !qobject_cast<QToolButton *>(w)) {
            if (b->sizeHint().width() > b->width())
                faults << describe(b) + " cut off: \"" + b->text() + '"';
            shown << b;
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            if (g->minimumSizeHint().width() > g->width())
                faults << describe(g) + " title cut off: \"" + g->title() + '"';
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w)) {
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

} // namespace

class BlendingLayoutTest : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        std::string name = GetParam();
        ASSERT_EQ(LoadLanguageDll(name), 1);
        for (const char *value : {"AirCylinder", "sDesO2", "sDesN2", "sDesHe"})
            SetRegString(QStringLiteral("Mix"), QLatin1String(value), QString());
    }
    void TearDown() override
    {
        std::string name = kDefaultLanguageFile;
        LoadLanguageDll(name);
        ResetEngineGlobals();
    }
    FakeShellServices shell;
};

TEST_P(BlendingLayoutTest, NoTextIsCutOffOrCovered)
{
    SettingsRecord dive;
    dive.Template.Metric = false;
    dive.Template.Gases.push_back(GasRecord{"Trimix 10/70 for the deep end", 10, 20, 70, 0});
    gSettings.push_back(dive);
    shell.activeProfile = 1;

    frmPartialMix w;
    EXPECT_EQ(clippedTexts(&w), "") << "opened";
    // The widest numbers the results show: thousands of psi, with a sign.
    w.Check1->setChecked(false);
    w.CurFill->setText(QStringLiteral("3000"));
    w.CurO2->setText(QStringLiteral("21"));
    w.CurHe->setText(QStringLiteral("0"));
    w.DesFill->setText(QStringLiteral("4500"));
    w.DesO2->setText(QStringLiteral("12"));
    w.DesHe->setText(QStringLiteral("0"));
    EXPECT_EQ(clippedTexts(&w), "") << "long results";
    EXPECT_FALSE(w.AirTopAir->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Languages, BlendingLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &info) { return std::string(info.param).substr(5, 2); });
