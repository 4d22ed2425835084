#include "platform/ModalWindow.h"

#include "platform/TestHooks.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

FocusReturn::FocusReturn() : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}

FocusReturn::~FocusReturn()
{
    if (!window_ || !window_->isVisible())
        return;
    window_->activateWindow();
    if (focus_ && focus_->window() == window_ && focus_->isVisible())
        focus_->setFocus(Qt::ActiveWindowFocusReason);
}

int ShowModal(QDialog *dialog)
{
    // A dialog has a title and a close box, never minimise or maximise buttons (without
    // explicit hints the window manager may add them).
    if (!(dialog->windowFlags() & Qt::FramelessWindowHint))
        dialog->setWindowFlags((dialog->windowFlags() & ~(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)) |
                               Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const FocusReturn focus;
    if (!TestHooks::active())
        return dialog->exec();

    QPointer<QDialog> guard(dialog);
    TestHooks::modalWindows << dialog->objectName();
    if (TestHooks::modalHandlers.empty()) {
        TestHooks::fail("Modal window without a queued answer: " + dialog->objectName());
        return QDialog::Rejected;
    }
    auto handler = std::move(TestHooks::modalHandlers.front());
    TestHooks::modalHandlers.pop_front();
    int result = QDialog::Rejected;
    const auto connection = QObject::connect(dialog, &QDialog::finished, dialog, [&result](int r) { result = r; });
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    QCoreApplication::processEvents();
    handler(dialog);
    if (guard && dialog->isVisible())
        dialog->reject();
    QObject::disconnect(connection);
    return result;
}
