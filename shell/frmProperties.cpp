#include "shell/frmProperties.h"

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/ErrorModule.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmProperties::frmProperties(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    lbTemplate = new QLabel(this);
    lbTemplate->setObjectName(QStringLiteral("lbTemplate"));
    cbOK = new QPushButton(this);
    cbOK->setObjectName(QStringLiteral("cbOK"));
    cbOK->setDefault(true);
    cbCancel = new QPushButton(this);
    cbCancel->setObjectName(QStringLiteral("cbCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cbOK);
    buttons->addWidget(cbCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbTemplate);
    layout->addLayout(buttons);
    connect(cbOK, &QPushButton::clicked, this, &frmProperties::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmProperties::cbCancel_Click);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1111));
    cbOK->setText(GetLangStringQ(1610));
    cbCancel->setText(GetLangStringQ(1609));

    profile_ = ActiveProfileNumber();
    const TemplateRec &t = gSettings[size_t(profile_)].Template;
    lbTemplate->setText(QString::fromStdString(t.Templatename));
    if (gMainForm) {
        if (!t.OpenCircuit)
            gMainForm->SetConstPPO(false);
        else
            gMainForm->SetOpenCircuit(false);
    }
}

void frmProperties::cbOK_Click()
{
    RunGuarded("frmProperties.cbOK_Click", [this] {
        gSettings[size_t(profile_)].Template.CeilingOverride = false;
        if (gMainForm)
            gMainForm->ApplyToProfile();
    });
    accept();
}

void frmProperties::cbCancel_Click()
{
    reject();
}

void frmProperties::reject()
{
    NothingChanged = true;
    QDialog::reject();
}

void ShowPropertiesForActiveProfile()
{
    auto *dialog = new frmProperties(gMainForm);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    frmWaypointEditor *editor = ActiveEditor();
    if (!editor || dialog->NothingChanged)
        return;
    editor->SetTemplate();
    editor->ReEvaluateUserEnteredWaypoints();
}
