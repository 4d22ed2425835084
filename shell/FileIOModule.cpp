#include "shell/FileIOModule.h"

#include "engine/AppPaths.h"
#include "engine/DOLVOptionModule.h"
#include "engine/DOLVmiscModule.h"
#include "engine/DiveModel.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextFileSave.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/WindowSettings.h"
#include "shell/DiveWindows.h"
#include "shell/MainModule.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <fstream>
#include <utility>

namespace {

// The file name and its folder (with its "/"); folder & name is the path again.
std::pair<std::string, std::string> nameAndFolder(const std::string &path)
{
    return {SplitPath(path, 1), SplitPath(path, 2)};
}

CommonDialog &fileDialog(const QString &title, const QString &filter, const QString &initDir,
                         const QString &fileName)
{
    CommonDialog &dlg = gMainForm->dlgCommonDialog;
    dlg.DialogTitle = title;
    dlg.Filter = filter;
    if (!initDir.isNull())
        dlg.InitDir = initDir;
    dlg.FileName = fileName;
    return dlg;
}

// The file dialogs start where the diver last kept that kind of file (settings.ini,
// section "Settings"), never in the installation folder, which a new build or an
// uninstall takes away with everything saved in it. At first: dives in the user's
// documents folder, templates in the user's data folder.
const QString kDiveFolderKey = QStringLiteral("DiveFolder");
const QString kTemplateFolderKey = QStringLiteral("TemplateFolder");

QString lastFolder(const QString &key, const QString &firstFolder)
{
    const QString kept = GetSetting(QStringLiteral("Settings"), key);
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    return firstFolder;
}

QString diveFolder()
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A desktop without a documents folder: the home folder.
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return lastFolder(kDiveFolderKey, documents);
}

QString templateFolder()
{
    const QString data = QString::fromStdString(UserDataDir());
    QDir().mkpath(data);
    return lastFolder(kTemplateFolderKey, data);
}

// Remembers the folder of a file the diver chose.
void keepFolder(const QString &key, const std::string &path)
{
    const QString folder = QFileInfo(QString::fromStdString(path)).absolutePath();
    if (GetSetting(QStringLiteral("Settings"), key) != folder)
        SaveSetting(QStringLiteral("Settings"), key, folder);
}

void reportFailure(const std::string &text)
{
    MsgBox(QString::fromStdString(text), vbCritical + vbOKOnly);
}

std::vector<ProfileFileDive> readSeriesFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw RuntimeError(ErrFileNotFound, "OpenProfile", "File not found");
    return ReadProfileFile(file);
}

QString diveCaption(const SettingsRecord &r, const char *close = "]")
{
    return DiveCaption(r.ProfileName, r.Template.Templatename, close);
}

// Puts the dives read from a file into new windows, first to last, each replayed with
// the CNS and OTU the dive before it left; what the replays leave goes into `notices`.
void buildSeries(std::vector<ProfileFileDive> &dives, const std::string &name, const std::string &dir,
                 PlanNotices &notices)
{
    int16_t previous = -1;
    for (ProfileFileDive &d : dives) {
        std::shared_ptr<Dive> dive = AppendSeriesDive(previous, d.Template, d.SurfTime, d.Log, name, dir);
        const SettingsRecord &r = dive->Record();
        const int16_t k = dive->SurfProfileNumber;
        const QString caption =
            k > 1 ? DiveCaption(r.ProfileName + " Dive:" + std::to_string(k), r.Template.Templatename, "]",
                                " surface interval " + LocaliseNumberText(JoinStr(r.SurfTime), gDecimalSeparator) +
                                    " min")
                  : diveCaption(r);
        frmWaypointEditor *editor = OpenDiveWindow(dive, caption);
        notices.Merge(editor->ReEvaluate());
        previous = dive->Number();
    }
}

} // namespace

void OpenProfile()
{
    CommonDialog &dlg = fileDialog(GetLangStringQ(2306), GetLangStringQ(2303), diveFolder(), QString());
    if (!dlg.ShowOpen() || dlg.FileName.isEmpty())
        return;
    const std::string path = dlg.FileName.toStdString();
    keepFolder(kDiveFolderKey, path);
    const auto [name, dir] = nameAndFolder(path);

    std::vector<ProfileFileDive> dives;
    try {
        dives = readSeriesFile(path);
    } catch (const RuntimeError &e) {
        // What is wrong with the file, as the reader found it, so it can be mended.
        reportFailure(path + "\r\n" + GetLangString(2310) + "\r\n" + e.description());
        return;
    } catch (const std::exception &) {
        reportFailure(path + "\r\n" + GetLangString(2310));
        return;
    }

    // The replays of all its dives are one command: each limit warning once, and one
    // box when dives lose their computed ascents to an uncomputed dive before them.
    PlanNotices notices;
    // Windows made before something refused (no free dive number left) are taken away
    // again: a series opens whole or not at all.
    std::vector<QPointer<frmWaypointEditor>> before(gDiveWindows.begin(), gDiveWindows.end());
    try {
        buildSeries(dives, name, dir, notices);
    } catch (const RuntimeError &e) {
        for (size_t i = 1; i < gDiveWindows.size(); ++i)
            if (gDiveWindows[i] && (i >= before.size() || before[i] != gDiveWindows[i]))
                gDiveWindows[i]->CloseByCode();
        // The dives the notice speaks of are gone.
        notices.Notice.clear();
        reportFailure(path + "\r\n" + GetLangString(2310) + "\r\n" + e.description());
    }
    ShowPlanNotices(notices);
}

bool SeriesChanged(int16_t profileNr)
{
    const std::vector<int16_t> series = SeriesFrom(profileNr);
    return std::any_of(series.begin(), series.end(), [](int16_t d) { return FindDive(d)->Changed(); });
}

bool SaveProfile(bool saveAs, int16_t profileNr)
{
    if (profileNr == -1) {
        const frmWaypointEditor *active = ActiveEditor();
        if (!active)
            return false;
        profileNr = DiveNumber(active);
    }
    const int16_t first = FirstDiveOfSeries(profileNr);
    if (!DiveWindow(first))
        return false;
    // What the reader would refuse is never written: the file could not be opened again.
    if (const std::string problem = SeriesFileProblem(first); !problem.empty()) {
        reportFailure(GetLangString(7042) + "\r\n" + problem);
        return false;
    }

    const SettingsRecord &firstRecord = RecordOf(first, "FileIOModule.SaveProfile");
    std::string path = firstRecord.ProfileName;
    if (saveAs || firstRecord.ProfileDir.empty()) {
        CommonDialog &dlg = fileDialog(GetLangStringQ(2306), GetLangStringQ(2305), diveFolder(),
                                       QString::fromStdString(path));
        if (!dlg.ShowSave() || dlg.FileName.isEmpty())
            return false;
        path = dlg.FileName.toStdString();
        keepFolder(kDiveFolderKey, path);
    } else {
        path = firstRecord.ProfileDir + path;
    }

    try {
        SaveTextFile(path, "SaveProfile", [first](TextLineWriter &out) {
            for (const int16_t d : SeriesFrom(first)) {
                const Dive &dive = *FindDive(d);
                const SettingsRecord &r = dive.Record();
                WriteProfileDive(r.Template, r.SurfTime, dive.UserEnteredWaypoints, out);
            }
        });
    } catch (const RuntimeError &e) {
        reportFailure(GetLangString(2311) + "\r\n" + path + "\r\n" + e.description());
        return false;
    }

    const auto [name, dir] = nameAndFolder(path);
    for (const int16_t d : SeriesFrom(first)) {
        SettingsRecord &r = FindDive(d)->Record();
        r.ProfileDir = dir;
        r.ProfileName = name;
        // The file now holds every dive as shown: closing has nothing left to save.
        r.ProfileChanged = false;
        if (frmWaypointEditor *w = DiveWindow(d))
            w->setWindowTitle(diveCaption(r, " ]"));
    }
    return true;
}

void SaveTemplateAs()
{
    const int16_t idx = ActiveProfileNumber();
    TemplateRec &tmpl = RecordOf(idx, "FileIOModule.SaveTemplateAs").Template;
    if (!tmpl.Changed)
        return;
    if (MsgBox(GetLangStringQ(2300), vbOKCancel + vbQuestion) == vbCancel)
        return;
    // The name only: a template read from the installation folder is saved in the
    // diver's own folder.
    CommonDialog &dlg = fileDialog(GetLangStringQ(2307), GetLangStringQ(2301), templateFolder(),
                                   QString::fromStdString(tmpl.Templatename));
    if (!dlg.ShowSave() || dlg.FileName.isEmpty())
        return;
    const std::string path = dlg.FileName.toStdString();
    keepFolder(kTemplateFolderKey, path);
    const auto [name, dir] = nameAndFolder(path);
    // The dive takes the file's name: one its series file could not give back is refused
    // before anything is written.
    if (const std::string problem = TemplateNameProblem(name); !problem.empty()) {
        reportFailure(problem);
        return;
    }
    try {
        SaveTemplate(tmpl, path);
    } catch (const RuntimeError &e) {
        reportFailure(GetLangString(2312) + "\r\n" + path + "\r\n" + e.description());
        return;
    }
    tmpl.Templatename = name;
    tmpl.Directory = dir;
}

bool LoadTemplateInto()
{
    CommonDialog &dlg = fileDialog(GetLangStringQ(2307), GetLangStringQ(2308), templateFolder(), QString());
    if (!dlg.ShowOpen() || dlg.FileName.isEmpty())
        return false;
    keepFolder(kTemplateFolderKey, dlg.FileName.toStdString());
    const auto [name, dir] = nameAndFolder(dlg.FileName.toStdString());
    if (const std::string problem = TemplateNameProblem(name); !problem.empty()) {
        reportFailure(problem);
        return false;
    }

    frmWaypointEditor *editor = ActiveEditor();
    if (!editor)
        return LoadTemplate(RecordOf(0, "FileIOModule.LoadTemplateInto").Template, name, dir);

    const int16_t idx = DiveNumber(editor);
    TemplateRec loaded;
    if (!LoadTemplate(loaded, name, dir))
        return false;
    SettingsRecord &r = RecordOf(idx, "FileIOModule.LoadTemplateInto");
    TemplateRec applied = r.Template;
    CopyTemplate(loaded, applied);
    applied.Templatename = name;
    // A template under which the dive's legs would last beyond a week is refused, as the
    // settings dialogs refuse such settings: the dive keeps its own, and its series stays
    // one that opens again.
    if (const std::string tooLong = DiveMinutesProblemWith(idx, applied); !tooLong.empty()) {
        reportFailure(tooLong);
        return false;
    }
    StoreSettings(idx, applied);
    editor->setWindowTitle(diveCaption(r));
    return true;
}
