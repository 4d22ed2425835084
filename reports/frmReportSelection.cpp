#include "reports/frmReportSelection.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// The dialog's texts are its own, in English, not taken from the language tables.
frmReportSelection::frmReportSelection(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReportSelection"));
    setWindowTitle(QStringLiteral("Generate report"));
    setModal(true);
    Option1 = new QRadioButton(QStringLiteral("Dive Information Report for the current dive"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("Dive Information Report for all dives in series"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Option1->setChecked(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(Option1);
    layout->addWidget(Option2);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(Command1, &QPushButton::clicked, this, &frmReportSelection::Command1_Click);
}

void frmReportSelection::Command1_Click()
{
    currentDiveOnly_ = Option1->isChecked();
    accept();
}
