#include "shell/frmLiability.h"

#include "engine/LibraryModule.h"
#include "platform/LocaliseForm.h"
#include "platform/RegEditModule.h"
#include "shell/ImageList.h"
#include "shell/frmSplash.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

frmLiability::frmLiability(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLiability"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(460);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cbAgree = new QPushButton(this);
    cbAgree->setObjectName(QStringLiteral("cbAgree"));
    cbAgree->setDefault(true);
    cbNoAgree = new QPushButton(this);
    cbNoAgree->setObjectName(QStringLiteral("cbNoAgree"));

    const ImageList icons;
    cbSoundOff = new QToolButton(this);
    cbSoundOff->setObjectName(QStringLiteral("cbSoundOff"));
    cbSoundOff->setIcon(icons.image(ImageList::SoundOn)); // sound is on: this button turns it off
    cbSoundOff->setIconSize(QSize(24, 24));
    cbSoundOff->setToolTip(QStringLiteral("To disable the sound"));
    cbSoundOn = new QToolButton(this);
    cbSoundOn->setObjectName(QStringLiteral("cbSoundOn"));
    cbSoundOn->setIcon(icons.image(ImageList::SoundOff));
    cbSoundOn->setIconSize(QSize(24, 24));
    cbSoundOn->setToolTip(QStringLiteral("To enable the sound"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cbSoundOff);
    buttons->addWidget(cbSoundOn);
    buttons->addStretch();
    buttons->addWidget(cbAgree);
    buttons->addWidget(cbNoAgree);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(cbAgree, &QPushButton::clicked, this, &frmLiability::cbAgree_Click);
    connect(cbNoAgree, &QPushButton::clicked, this, &frmLiability::cbNoAgree_Click);
    connect(cbSoundOff, &QToolButton::clicked, this, &frmLiability::cbSoundOff_Click);
    connect(cbSoundOn, &QToolButton::clicked, this, &frmLiability::cbSoundOn_Click);

    LocaliseForm(this);
    Label1->setText(GetLangStringQ(2503) + QLatin1Char('\n') + GetLangStringQ(2504));
    cbAgree->setText(GetLangStringQ(2502));
    cbNoAgree->setText(GetLangStringQ(2501));
    setWindowTitle(GetLangStringQ(2500));
    const bool soundOn = StartSoundOn();
    cbSoundOn->setVisible(!soundOn);
    cbSoundOff->setVisible(soundOn);
}

void frmLiability::cbAgree_Click()
{
    accept();
}

void frmLiability::cbNoAgree_Click()
{
    EndApplication();
}

void frmLiability::reject()
{
    if (!ApplicationEnding())
        EndApplication();
    QDialog::reject();
}

void frmLiability::cbSoundOff_Click()
{
    SetRegString(QStringLiteral("Sound"), QString(), QStringLiteral("Off"));
    cbSoundOff->setVisible(false);
    cbSoundOn->setVisible(true);
}

void frmLiability::cbSoundOn_Click()
{
    SetRegString(QStringLiteral("Sound"), QString(), QStringLiteral("On"));
    cbSoundOn->setVisible(false);
    cbSoundOff->setVisible(true);
}
