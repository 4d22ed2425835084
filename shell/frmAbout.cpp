#include "shell/frmAbout.h"

#include "platform/LocaliseForm.h"
#include "platform/ModalWindow.h"
#include "platform/MsgBox.h"
#include "platform/TestHooks.h"
#include "shell/ImageList.h"
#include "shell/frmContributers.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#ifndef DOLV_VERSION_MAJOR
#define DOLV_VERSION_MAJOR 1
#define DOLV_VERSION_MINOR 0
#define DOLV_VERSION_PATCH 0
#endif

namespace {

// The maker's pages.
const QString kHomePage = QStringLiteral("https://dolv.example.org/");
const QString kProblemPage = QStringLiteral("https://dolv.example.org/problems");

// Programs that show what the machine is made of, in the order they are tried.
const char *const kSysInfoTools[] = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor",
                                     "xfce4-taskmanager"};

QLabel *label(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

QPushButton *button(QWidget *parent, const char *name)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

void OpenWebPage(const QString &address)
{
    if (TestHooks::active()) {
        TestHooks::urlsOpened << address;
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

bool StartProgram(const QString &program)
{
    if (TestHooks::active()) {
        TestHooks::programsStarted << program;
        return true;
    }
    return QProcess::startDetached(program, {});
}

QString frmAbout::VersionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2 Build:%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    auto *picture = new QLabel(this);
    picture->setPixmap(ImageList::draw(ImageList::Dive, 48));
    picture->setAlignment(Qt::AlignTop);
    lblTitle = label(this, "lblTitle");
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = label(this, "lblVersion");
    Label1 = label(this, "Label1");
    Label2 = label(this, "Label2");
    lblDisclaimer = label(this, "lblDisclaimer");
    lblDisclaimer->setFrameShape(QFrame::StyledPanel);
    lblDisclaimer->setMargin(6);
    cmdOK = button(this, "cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = button(this, "cmdSysInfo");
    Contrib = button(this, "Contrib");
    Command1 = button(this, "Command1");
    Command2 = button(this, "Command2");

    auto *text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto *buttons = new QGridLayout;
    buttons->addWidget(Command1, 0, 0);
    buttons->addWidget(Command2, 0, 1);
    buttons->addWidget(Contrib, 0, 2);
    buttons->addWidget(cmdSysInfo, 1, 0);
    buttons->setColumnStretch(3, 1);
    buttons->addWidget(cmdOK, 1, 4);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblDisclaimer);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(Contrib, &QPushButton::clicked, this, &frmAbout::Contrib_Click);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmAbout::Command2_Click);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1300));
    lblTitle->setText(GetLangStringQ(1302));
    lblVersion->setText(GetLangStringQ(1304));
    lblDisclaimer->setText(GetLangStringQ(1306));
    Label2->setText(GetLangStringQ(2800));
    cmdOK->setText(GetLangStringQ(1210));
    cmdSysInfo->setText(GetLangStringQ(1301));
    Contrib->setText(GetLangStringQ(1307));
    Command1->setText(GetLangStringQ(3083));
    Command2->setText(GetLangStringQ(3084));
    Label1->setText(VersionLine(DOLV_VERSION_MAJOR, DOLV_VERSION_MINOR, DOLV_VERSION_PATCH));
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    for (const char *tool : kSysInfoTools) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty() && QFileInfo(path).isExecutable() && StartProgram(path))
            return;
    }
    MsgBox(GetLangStringQ(1064), vbOKOnly);
}

void frmAbout::Contrib_Click()
{
    frmContributers box(this);
    ShowModal(&box);
}

void frmAbout::Command1_Click()
{
    OpenWebPage(kHomePage);
}

void frmAbout::Command2_Click()
{
    OpenWebPage(kProblemPage);
}
