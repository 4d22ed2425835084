#include "shell/frmWait.h"

#include "engine/RuntimeError.h"
#include "platform/LocaliseForm.h"
#include "platform/ErrorModule.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

QPointer<frmWait> gWait;

} // namespace

frmWait *frmWait::Instance()
{
    if (!gWait)
        gWait = new frmWait(gMainForm);
    return gWait;
}

void frmWait::Unload()
{
    delete gWait.data();
}

bool frmWait::Loaded()
{
    return !gWait.isNull();
}

frmWait::frmWait(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWait"));
    setModal(false);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumWidth(300);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(Label1);
    Form_Load();
}

void frmWait::Form_Load()
{
    try {
        setWindowTitle(GetLangStringQ(1066));
        Label1->setText(GetLangStringQ(1067));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglass_ = true;
    } catch (RuntimeError &e) {
        e.setSource("GeneralReport.cbOk_click");
        ShowErrorInfo(e);
    }
}

frmWait::~frmWait()
{
    if (hourglass_)
        QApplication::restoreOverrideCursor();
}
