#include "platform/LocaliseForm.h"

#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/VBConversions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>
#include <QVariant>

#include <charconv>
#include <optional>

namespace {

// A text that is a whole number as it stands (blanks around it allowed), converted to
// an Integer with halves to even; none for an empty, non-numeric or too large text.
std::optional<int16_t> wholeId(const QString &text)
{
    const std::string s = text.trimmed().toStdString();
    if (s.empty())
        return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    try {
        return CInt(v);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

// The leading number of a text ("." decimals, 0 when none) rounded to an Integer, for
// the controls whose Tag may hold other text after the ID.
std::optional<int16_t> leadingId(const QVariant &tag)
{
    if (!tag.isValid())
        return std::nullopt;
    try {
        const int16_t n = CInt(Val(tag.toString().toStdString()));
        return n > 0 ? std::optional<int16_t>(n) : std::nullopt;
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

bool isMenuItem(const QAction *action)
{
    if (qobject_cast<QMenu *>(action->parent()))
        return true;
    for (const QObject *o : action->associatedObjects())
        if (qobject_cast<const QMenu *>(o) || qobject_cast<const QMenuBar *>(o))
            return true;
    return false;
}

void localiseMenuItem(QAction *action)
{
    if (action->isSeparator())
        return;
    if (const auto id = wholeId(action->text()))
        action->setText(GetLangStringQ(*id));
}

void localiseToolBar(QToolBar *bar)
{
    for (QAction *action : bar->actions()) {
        if (action->isSeparator())
            continue;
        if (const auto id = wholeId(action->property("ToolTipText").toString()))
            SetToolTipText(action, GetLangStringQ(*id));
    }
}

void localiseTabBar(QTabBar *tabs)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto id = wholeId(tabs->tabData(i).toString()))
            tabs->setTabText(i, GetLangStringQ(*id));
        if (const auto id = wholeId(tabs->tabToolTip(i)))
            tabs->setTabToolTip(i, GetLangStringQ(*id));
    }
}

// Any other control: a caption from its Tag, a tool tip from its ToolTipText.
void localiseControl(QWidget *w)
{
    if (const auto id = leadingId(w->property("Tag"))) {
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            button->setText(GetLangStringQ(*id));
        else if (auto *frame = qobject_cast<QGroupBox *>(w))
            frame->setTitle(GetLangStringQ(*id));
    }
    if (const auto id = leadingId(w->property("ToolTipText")))
        SetToolTipText(w, GetLangStringQ(*id));
}

void localiseChildren(QObject *parent)
{
    for (QObject *child : parent->children()) {
        if (qobject_cast<QMenu *>(child)) {
            // A menu is a pop-up window of its own, but its items belong to this window.
            localiseChildren(child);
            continue;
        }
        if (auto *w = qobject_cast<QWidget *>(child)) {
            // Owned windows and dive windows localise themselves when they load.
            if (w->isWindow() || qobject_cast<QMdiSubWindow *>(w))
                continue;
            if (auto *label = qobject_cast<QLabel *>(w)) {
                if (const auto id = wholeId(label->property("Tag").toString()))
                    label->setText(GetLangStringQ(*id));
            } else if (auto *bar = qobject_cast<QToolBar *>(w)) {
                localiseToolBar(bar);
            } else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
                localiseTabBar(tabs);
            } else if (!qobject_cast<QListWidget *>(w) && !qobject_cast<QMenuBar *>(w)) {
                localiseControl(w);
            }
        } else if (auto *action = qobject_cast<QAction *>(child)) {
            if (isMenuItem(action))
                localiseMenuItem(action);
        }
        localiseChildren(child);
    }
}

} // namespace

void LocaliseForm(QWidget *form)
{
    if (!form)
        return;
    if (const auto id = wholeId(form->property("Tag").toString()))
        form->setWindowTitle(GetLangStringQ(*id));
    localiseChildren(form);
}

QString GetLangStringQ(int16_t id)
{
    return QString::fromStdString(GetLangString(id));
}

void SetToolTipText(QObject *control, const QString &text)
{
    control->setProperty("ToolTipText", text);
    if (auto *action = qobject_cast<QAction *>(control))
        action->setToolTip(text);
    else if (auto *w = qobject_cast<QWidget *>(control))
        w->setToolTip(text);
}

void KeepTitleWhole(QWidget *window)
{
    // The title bar's font is the window manager's; a bold one of the application's size
    // is about as wide. Beside the text: the window icon, the close box and the margins.
    QFont font = QApplication::font();
    font.setBold(true);
    const int height = QFontMetrics(font).height();
    const int room = QFontMetrics(font).horizontalAdvance(window->windowTitle()) + 6 * height;
    window->setMinimumWidth(qMax(window->minimumWidth(), room));
}
