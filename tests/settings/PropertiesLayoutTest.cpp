// What the diver reads on every page of the settings dialog is whole, in English and in
// German, in metric and in imperial units: no caption, label or button text cut off and
// no two of them on top of each other. The page icons are eight different pictures.

#include "tests/settings/PropertiesFixture.h"

#include "settings/PropertiesImageList.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace {

QString describe(const QWidget *w)
{
    return w->parentWidget()->objectName() + '.' + w->objectName();
}

// The visible texts of a window that are cut off or covered, one line each (the same
// measure the main window's layout test applies).
QStringList clippedTexts(QWidget *window)
{
    QApplication::processEvents();
    QStringList faults;
    QList<QWidget *> shown;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                            : l->sizeHint().width() <= l->width() && l->sizeHint().height() <= l->height();
            if (!fits)
                faults << describe(l) + " cut off: \"" + l->text() + '"';
            shown << l;
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !qobject_cast<QToolButton *>(w)) {
            if (b->sizeHint().width() > b->width())
                faults << describe(b) + " cut off: \"" + b->text() + '"';
            shown << b;
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            if (g->minimumSizeHint().width() > g->width() || g->minimumSizeHint().height() > g->height())
                faults << describe(g) + " cut off: \"" + g->title() + '"';
            shown << g;
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QListWidget *>(w)) {
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
    return faults;
}

} // namespace

class PropertiesLayoutTest : public PropertiesTest, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override
    {
        language_ = GetParam();
        PropertiesTest::SetUp();
    }

    // Every page in turn, with everything a page can show.
    QStringList everyPage()
    {
        QStringList faults;
        dialog->Command1->show();
        for (int i = 0; i < dialog->ListView1->count(); ++i) {
            dialog->ListView1->setCurrentRow(i);
            for (const QString &f : clippedTexts(dialog.get()))
                faults << dialog->ListView1->item(i)->text() + ": " + f;
        }
        // The page list's entries are whole too.
        for (int i = 0; i < dialog->ListView1->count(); ++i) {
            const QRect r = dialog->ListView1->visualItemRect(dialog->ListView1->item(i));
            const int need = dialog->ListView1->iconSize().width() + 12
                           + dialog->ListView1->fontMetrics().horizontalAdvance(dialog->ListView1->item(i)->text());
            if (need > r.width() || !dialog->ListView1->viewport()->rect().contains(r))
                faults << "page list entry cut off: " + dialog->ListView1->item(i)->text();
        }
        return faults;
    }
};

TEST_P(PropertiesLayoutTest, EveryPageIsWholeInBothUnitSystems)
{
    dive().AdeptedToHeight = false;
    dive().OpenCircuit = false;
    dive().GasChanges = {GasChangeRecord{"Oxygen", 100, 0, 0, 6}, GasChangeRecord{"EAN50", 50, 50, 0, 21}};
    open();
    EXPECT_EQ(everyPage().join('\n').toStdString(), "") << "metric";
    clickUnit(false);
    EXPECT_EQ(everyPage().join('\n').toStdString(), "") << "imperial";
    clickUnit(true);
    EXPECT_EQ(everyPage().join('\n').toStdString(), "") << "metric again";
}

INSTANTIATE_TEST_SUITE_P(Languages, PropertiesLayoutTest, ::testing::Values("DOLV_uk.lng", "DOLV_de.lng"),
                         [](const auto &p) { return std::string(p.param).substr(5, 2); });

TEST(PropertiesImageList, EightDifferentPictures)
{
    QList<QImage> seen;
    for (int i = 1; i <= PropertiesImageList::Count; ++i) {
        const QImage img = PropertiesImageList::draw(i, 24).toImage();
        int inked = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                inked += qAlpha(img.pixel(x, y)) > 0;
        EXPECT_GT(inked, 24 * 24 / 8) << "icon " << i;
        EXPECT_FALSE(seen.contains(img)) << "icon " << i;
        seen << img;
    }
    EXPECT_TRUE(PropertiesImageList::image(0).isNull());
    EXPECT_TRUE(PropertiesImageList::image(9).isNull());
}
