#include "platform/MsgBox.h"

#include "platform/ModalWindow.h"
#include "platform/TestHooks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int32_t>> buttons; // in the order shown
    int32_t escape; // the answer of the Escape key and the close box; 0 when neither works
};

ButtonSet buttonSet(int32_t kind)
{
    using B = QMessageBox;
    switch (kind) {
    case vbOKCancel: return {{{B::Ok, vbOK}, {B::Cancel, vbCancel}}, vbCancel};
    case vbAbortRetryIgnore: return {{{B::Abort, vbAbort}, {B::Retry, vbRetry}, {B::Ignore, vbIgnore}}, 0};
    case vbYesNoCancel: return {{{B::Yes, vbYes}, {B::No, vbNo}, {B::Cancel, vbCancel}}, vbCancel};
    case vbYesNo: return {{{B::Yes, vbYes}, {B::No, vbNo}}, 0};
    case vbRetryCancel: return {{{B::Retry, vbRetry}, {B::Cancel, vbCancel}}, vbCancel};
    default: return {{{B::Ok, vbOK}}, vbOK};
    }
}

QMessageBox::Icon icon(int32_t buttons)
{
    switch (buttons & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int32_t MsgBox(const QString &prompt, int32_t buttons, const QString &title)
{
    const QString caption = title.isEmpty() ? QApplication::applicationName() : title;
    if (TestHooks::active()) {
        TestHooks::msgBoxes.push_back({prompt, buttons, caption});
        if (!TestHooks::msgBoxAnswers.empty()) {
            const int32_t answer = TestHooks::msgBoxAnswers.front();
            TestHooks::msgBoxAnswers.pop_front();
            return answer;
        }
        TestHooks::fail("Message box without a queued answer: " + prompt);
        return DefaultMsgBoxAnswer(buttons);
    }

    // Texts break their lines with CR LF or a lone CR; the box breaks at LF.
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(icon(buttons), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    const ButtonSet set = buttonSet(buttons & 7);
    std::vector<std::pair<QAbstractButton *, int32_t>> shown;
    for (const auto &[standard, code] : set.buttons)
        shown.emplace_back(box.addButton(standard), code);
    const int32_t def = DefaultMsgBoxAnswer(buttons);
    for (const auto &[button, code] : shown) {
        if (code == def)
            box.setDefaultButton(qobject_cast<QPushButton *>(button));
        if (code == set.escape)
            box.setEscapeButton(button);
    }
    {
        const FocusReturn focus;
        box.exec();
    }
    for (const auto &[button, code] : shown)
        if (box.clickedButton() == button)
            return code;
    return set.escape ? set.escape : def;
}
