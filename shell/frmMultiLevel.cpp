#include "shell/frmMultiLevel.h"

#include "engine/DOLVOptionModule.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/TemplateModule.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ErrorModule.h"
#include "shell/MainModule.h"
#include "engine/ProfileReplay.h"
#include "shell/DiveWindows.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmMultiLevel::frmMultiLevel(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMultiLevel"));
    // A dialog: a title and a close box, no minimise or maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    tbHours = new QLineEdit(QStringLiteral("1"), Frame1);
    tbHours->setObjectName(QStringLiteral("tbHours"));
    tbMinutes = new QLineEdit(QStringLiteral("0"), Frame1);
    tbMinutes->setObjectName(QStringLiteral("tbMinutes"));
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setDefault(true);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *fields = new QGridLayout(Frame1);
    fields->addWidget(tbHours, 0, 0);
    fields->addWidget(Label1, 0, 1);
    fields->addWidget(tbMinutes, 1, 0);
    fields->addWidget(Label2, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(Command2, &QPushButton::clicked, this, &frmMultiLevel::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMultiLevel::Command1_Click);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(3080));
    Frame1->setTitle(GetLangStringQ(3080));
    Label1->setText(GetLangStringQ(3081));
    Label2->setText(GetLangStringQ(3082));
    Command2->setText(GetLangStringQ(1610));
    Command1->setText(GetLangStringQ(1609));
    KeepTitleWhole(this);
}

void frmMultiLevel::Command1_Click()
{
    reject();
}

void frmMultiLevel::Command2_Click()
{
    bool created = false;
    RunGuarded("frmMultiLevel.Command2_Click", [this, &created] { created = CreateNextDive(); });
    if (created)
        accept();
}

bool frmMultiLevel::refuse(const QString &text)
{
    MsgBox(text, vbCritical + vbOKOnly);
    return false;
}

bool frmMultiLevel::CreateNextDive()
{
    // The fields are read as typed under the user's separators; a text that is no number
    // at all, or a negative interval, would start the dive at a meaningless time.
    const std::string hoursText = tbHours->text().toStdString();
    const std::string minutesText = tbMinutes->text().toStdString();
    if (!IsLocaleNumber(hoursText))
        return refuse(GetLangStringQ(3085));
    const float hours = LocaleVal(hoursText);
    if (hours > 24)
        return refuse(GetLangStringQ(3027));
    if (hours < 0)
        return refuse(GetLangStringQ(3086));
    if (!IsLocaleNumber(minutesText))
        return refuse(GetLangStringQ(3085));
    const float minutes = LocaleVal(minutesText);
    if (minutes < 0 || minutes > 59)
        return refuse(GetLangStringQ(3028));

    frmWaypointEditor *previous = ActiveEditor();
    if (!previous)
        return true;
    // The next dive follows the last dive of a series, once that dive is computed: its
    // end-of-dive tissues are what the next dive starts from.
    const int16_t prev = DiveNumber(previous);
    const Dive *last = FindDive(prev);
    if (!last)
        return true;
    if (last->NextProfile() != -1)
        return refuse(GetLangStringQ(3087));
    if (!HoldsComputedPlan(prev))
        return refuse(GetLangStringQ(3088));

    const float surfTime = static_cast<float>(60.0 * hours + minutes);
    // The CNS recovers at the surface; the pulmonary dose (OTU) is carried on unchanged.
    const float carriedCNS = CNSAfterSurfaceInterval(last->Record().CNS, surfTime);
    const float carriedOTU = last->Record().OTU;

    const int16_t slot = AllocProfileSlot();
    const SettingsRecord &before = last->Record();
    SettingsRecord &r = RecordOf(slot, "frmMultiLevel");
    r.ProfileChanged = false;
    r.PrevProfile = prev;
    CopyTemplate(before.Template, r.Template);
    r.TemplateName = before.Template.Templatename;
    r.ProfileName = before.ProfileName;
    r.SurfTime = surfTime;
    r.CNS = carriedCNS;
    r.OTU = carriedOTU;

    std::shared_ptr<Dive> dive = OpenDive(slot);
    dive->SurfProfileNumber = static_cast<int16_t>(last->SurfProfileNumber + 1);
    frmWaypointEditor *editor = OpenDiveWindow(
        dive, DiveCaption(r.ProfileName + GetLangString(3013) + std::to_string(dive->SurfProfileNumber), r.TemplateName,
                          "]", GetLangString(3029) + FormatHoursMinutes(r.SurfTime)));
    editor->setPrevNext(prev, -1);
    previous->setNext(slot);

    prevProfile_ = prev;
    newProfile_ = slot;
    return true;
}
