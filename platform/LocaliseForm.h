#pragma once
// Puts the language's texts into a window. Windows are built with string IDs where their
// texts go: the window's dynamic property "Tag" (its caption), a label's "Tag", a menu
// item's own text, a toolbar action's "ToolTipText", a tab's data (its Tag) and tool
// tip, and any other control's "Tag" (caption: a button's text, a frame's title) and
// "ToolTipText". LocaliseForm replaces each ID by its text; whatever is not an ID (an
// empty or plain text, a separator) stays as it is, and nothing is reported.
// Windows inside the window (dialogs it owns, dive windows) are left to their own load.

#include <QString>

#include <cstdint>

class QObject;
class QWidget;

void LocaliseForm(QWidget *form);

// The language's text of a string ID as a QString (GetLangString).
QString GetLangStringQ(int16_t id);

// A string ID as a window's design holds it (a menu caption, a tool tip, a Tag), for
// LocaliseForm to replace by its text.
inline QString IdText(int16_t id)
{
    return QString::number(id);
}

// Sets a control's or toolbar action's tool tip and its "ToolTipText" together.
void SetToolTipText(QObject *control, const QString &text);

// Widens a window so that the window manager can show its whole title (the icon and the
// close box beside it); a small dialog with a long title would otherwise show it cut off.
void KeepTitleWhole(QWidget *window);
