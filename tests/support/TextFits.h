#pragma once
// The check that what the diver reads is whole: no caption, label or button text of a
// window cut off, reaching outside its parent or covered by another.

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

#include <string>

inline QString DescribeWidget(const QWidget *w)
{
    return w->parentWidget()->objectName() + '.' + w->objectName();
}

// The visible texts of a window that are cut off or covered, one line each; "" when
// every text is whole.
inline std::string ClippedTexts(QWidget *window)
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
                faults << DescribeWidget(l) + " cut off: \"" + l->text() + '"';
            shown << l;
        } else if (auto *b = qobject_cast<QAbstractButton *>(w); b && !qobject_cast<QToolButton *>(w)) {
            if (b->sizeHint().width() > b->width())
                faults << DescribeWidget(b) + " cut off: \"" + b->text() + '"';
            shown << b;
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            if (g->minimumSizeHint().width() > g->width())
                faults << DescribeWidget(g) + " title cut off: \"" + g->title() + '"';
        } else if (qobject_cast<QLineEdit *>(w)) {
            shown << w;
        }
    }
    // Texts inside their parent, and no two with the same parent on top of each other.
    for (QWidget *a : shown) {
        if (!a->parentWidget()->rect().contains(a->geometry()))
            faults << DescribeWidget(a) + " reaches outside " + a->parentWidget()->objectName();
        for (QWidget *b : shown)
            if (a < b && a->parentWidget() == b->parentWidget() && a->geometry().intersects(b->geometry()))
                faults << DescribeWidget(a) + " and " + DescribeWidget(b) + " overlap";
    }
    return faults.join('\n').toStdString();
}

