#include "shell/MainModule.h"

#include "engine/AppPaths.h"
#include "engine/DOLVOptionModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TraceFile.h"
#include "engine/VBConversions.h"
#include "platform/LibraryModule.h"
#include "platform/ModalWindow.h"
#include "platform/QtTranslations.h"
#include "platform/RegEditModule.h"
#include "print/PrintPreview.h"
#include "print/SmallTables.h"
#include "reports/GeneralReport.h"
#include "shell/DiveWindows.h"
#include "shell/ShellHost.h"
#include "shell/frmLiability.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "shell/frmWaypointEditor.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QTime>
#include <QToolBar>

std::vector<QPointer<frmWaypointEditor>> gDiveWindows(1);
frmMain *gMainForm = nullptr;
int16_t gTemplateIndex = 0;
int16_t gVPMSwitch = 0;
int16_t gHybridSwitch = 0;
bool gReportSelection = false;
QPointer<QDialog> gReportSelectionForm;

namespace {

QString gCommandLine;

ShellHost &shellHost()
{
    static ShellHost host;
    return host;
}

} // namespace

bool Main()
{
    SetEngineHost(&shellHost());
    SetShellServices(&shellHost());
    // "Arial" of the windows' design: Liberation Sans has the same metrics.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    // Qt's own buttons and key names speak the system's language.
    InstallQtTranslations(QLocale::system());

    QString library = GetRegString(QStringLiteral("Language"), QString());
    if (library.isEmpty())
        library = QString::fromLatin1(kDefaultLanguageFile);
    // The help file is the language file's name with ".hlp" for its last four characters;
    // a name too short for that gets the default help file.
    const std::string help = library.size() >= 4 ? (library.chopped(4) + QStringLiteral(".hlp")).toStdString()
                                                 : std::string(kDefaultHelpFile);
    std::string name = library.toStdString();
    LoadLanguageDll(name);
    if (ApplicationEnding())
        return false;
    SetHelpFile(help);
    InitProfileTable();
    ParseCommandLine();

    auto *splash = new frmSplash;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    Delay(1);

    gMainForm = new frmMain;
    splash->close();
    delete splash;

    auto *liability = new frmLiability(gMainForm);
    ShowModal(liability);
    delete liability;
    if (ApplicationEnding())
        return false;

    if (gVPMSwitch == 1) {
        gMainForm->mnuVPM->setVisible(true);
        gMainForm->mnuVPM->setEnabled(true);
        gMainForm->mnualgsep->setVisible(true);
    }
    if (gHybridSwitch == 1) {
        gMainForm->mnuHybrid->setVisible(true);
        gMainForm->mnuHybrid->setEnabled(true);
        gMainForm->mnualgsep->setVisible(true);
    }
    gMainForm->show();
    gMainForm->unsetCursor();
    gMainForm->ShowActiveDiveCommands();
    // A trace that could not go beside the program says where it went.
    if (const std::string notice = TraceFileNotice(); !notice.empty())
        SetStatusText(notice);
    return true;
}

void InitProfileTable()
{
    gDiveWindows.assign(1, nullptr);
    gSettings.assign(1, SettingsRecord{});
    SettingsRecord &defaults = RecordOf(0, "MainModule.InitProfileTable");
    defaults.ProfileChanged = false;
    gTemplateIndex = 0;
    LoadTemplate(defaults.Template, std::string(), std::string());
    defaults.TemplateName = "Default";
    InitLocaleSeparators();
    InitCNSTable();
}

int16_t AllocProfileSlot()
{
    const int16_t slot = AllocDiveSlot();
    if (gDiveWindows.size() < gSettings.size())
        gDiveWindows.resize(gSettings.size());
    gDiveWindows[static_cast<size_t>(slot)] = nullptr;
    return slot;
}

void SetCommandLine(const QString &commandLine)
{
    gCommandLine = commandLine;
}

QStringList SplitCommandLine(int maxWords)
{
    QStringList words(1); // element 0 stays empty
    bool inWord = false;
    for (const QChar c : gCommandLine) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            if (words.size() - 1 == maxWords)
                break;
            words.append(QString());
            inWord = true;
        }
        words.last().append(c);
    }
    return words;
}

void ParseCommandLine()
{
    gVPMSwitch = 0;
    gHybridSwitch = 0;
    gVeryHighGF = 0;
    gTraceOn = 0;
    const QStringList words = SplitCommandLine(10);
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &w = words[i];
        if (w == QLatin1String("/vpm"))
            gVPMSwitch = 1;
        else if (w == QLatin1String("/hybrid"))
            gHybridSwitch = 1;
        else if (w == QLatin1String("/VeryHighGF"))
            gVeryHighGF = 1;
        else if (w == QLatin1String("/phi")) {
            // A second "/phi" keeps the file the first one opened.
            gTraceOn = 1;
            OpenTraceFile();
        }
    }
}

void Delay(double seconds)
{
    const auto secondsSinceMidnight = [] {
        return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
    };
    const float start = secondsSinceMidnight();
    for (;;) {
        const float elapsed = secondsSinceMidnight() - start;
        // Past midnight the clock starts again from 0: the wait is over then too.
        if (elapsed >= seconds || elapsed < 0)
            return;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

frmWaypointEditor *ActiveEditor()
{
    return gMainForm ? gMainForm->ActiveForm() : nullptr;
}

int16_t ActiveProfileNumber()
{
    const frmWaypointEditor *editor = ActiveEditor();
    return editor ? DiveNumber(editor) : gTemplateIndex;
}

void CallByName(frmWaypointEditor *editor, std::string_view member)
{
    if (!editor)
        return;
    if (member == "StartDeco")
        editor->StartDeco();
    else if (member == "ReEvaluateUserEnteredWaypoints")
        editor->ReEvaluateUserEnteredWaypoints();
    else if (member == "mnucleardecopoints")
        editor->mnucleardecopoints();
    else if (member == "mnuclearlastwaypoint")
        editor->mnuclearlastwaypoint();
    else if (member == "mnuclearallwaypoints")
        editor->mnuclearallwaypoints();
    else
        throw RuntimeError(438, "frmMain", "Object doesn't support this property or method");
}

AlgorithmTicks AlgorithmMenuTicks()
{
    AlgorithmTicks ticks;
    if (!gMainForm)
        return ticks;
    ticks.ModelB = gMainForm->mnuBulhmannB->isChecked();
    ticks.ModelC = gMainForm->mnuBulhmannC->isChecked();
    ticks.Hybrid = gMainForm->mnuHybrid->isChecked();
    ticks.VPM = gMainForm->mnuVPM->isChecked();
    ticks.VPMShown = gMainForm->mnuVPM->isEnabled() && gMainForm->mnuVPM->isVisible();
    return ticks;
}

PlanOptions AlgorithmOptions()
{
    return AlgorithmMenuTicks().Options();
}

void ResetShell()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != gMainForm && w->isVisible())
            w->close();
    }
    delete gMainForm;
    gMainForm = nullptr;
    gDiveWindows.assign(1, nullptr);
    gTemplateIndex = 0;
    gVPMSwitch = 0;
    gHybridSwitch = 0;
    gReportSelection = false;
    ResetPrintJob();
    ResetGeneralReport();
    ClearSmallTableLayout();
    SetCommandLine(QString());
    SetEngineHost(nullptr);
    SetShellServices(nullptr);
    CloseTraceFile();
    FreeLanguageDll();
    ResetApplicationEnding();
    shellHost().reset();
    ResetEngineGlobals();
}
