// What the diver reads must be whole: in every window, in English and in German (the
// longer texts), no caption, label or button text is cut off and no two of them cover
// each other.

#include "tests/shell/EditorFixture.h"

#include "platform/RegEditModule.h"
#include "shell/HelpWindow.h"
#include "shell/frmAbout.h"
#include "shell/frmContributers.h"
#include "shell/frmLanguages.h"
#include "shell/frmMultiLevel.h"
#include "shell/frmWait.h"
#include "shell/frmWaypointForm.h"

#include <QAbstractButton>
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
            // An empty label that fills its background still covers what is under it.
            if (l->text().isEmpty()) {
                if (l->autoFillBackground())
                    shown << l;
                continue;
            }
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
    // Texts inside their parent, and no two with the same parent on top of each other.
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

class WindowLayoutTest : public EditorTest, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override
    {
        stored_ = GetRegString(QStringLiteral("Language"), QString());
        SetRegString(QStringLiteral("Language"), QString(), QString::fromLatin1(GetParam()));
        TestHooks::modalHandlers.push_back([this](QDialog *d) {
            disclaimer_ = clippedTexts(d);
            static_cast<frmLiability *>(d)->cbAgree->click();
        });
        EditorTest::SetUp();
        TestHooks::modalHandlers.clear(); // the fixture's own answer to the disclaimer
    }
    void TearDown() override
    {
        EditorTest::TearDown();
        SetRegString(QStringLiteral("Language"), QString(), stored_);
    }

    QString stored_;
    std::string disclaimer_;
};

TEST_P(WindowLayoutTest, NoTextIsCutOffOrCovered)
{
    EXPECT_EQ(disclaimer_, "");
    EXPECT_EQ(clippedTexts(gMainForm), "");
    EXPECT_EQ(clippedTexts(editor), "") << "an empty dive";
    leg(60, 25);
    editor->StartDeco();
    EXPECT_EQ(clippedTexts(editor), "") << "a computed dive";

    ClassProfile scratch;
    scratch.setDepth(0, 40);
    scratch.SetSegmentTime(0, 10);
    scratch.SetMixNumber(0, kTrimix);
    {
        frmWaypointForm form(gMainForm);
        form.data(scratch, -1);
        EXPECT_EQ(clippedTexts(&form), "") << "editing";
    }
    {
        frmWaypointForm form(gMainForm);
        form.data(scratch, 0);
        EXPECT_EQ(clippedTexts(&form), "") << "viewing";
    }
    frmMultiLevel nextDive(gMainForm);
    EXPECT_EQ(clippedTexts(&nextDive), "");
    frmLanguages languages(gMainForm);
    EXPECT_EQ(clippedTexts(&languages), "");
    frmAbout about(gMainForm);
    EXPECT_EQ(clippedTexts(&about), "");
    frmContributers contributors(gMainForm);
    EXPECT_EQ(clippedTexts(&contributors), "");
    EXPECT_EQ(clippedTexts(frmWait::Instance()), "");
    frmWait::Unload();
    HelpWindow help(gMainForm);
    EXPECT_EQ(clippedTexts(&help), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &info) { return std::string(info.param).substr(5, 2); });
