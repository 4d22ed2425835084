#include "shell/FileIOModule.h"

#include "engine/AppPaths.h"
#include "engine/DOLVOptionModule.h"
#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/TextFileSave.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "shell/DiveWindows.h"
#include "shell/MainModule.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

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

QString installFolder()
{
    return QString::fromStdString(InstallDir());
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
// the CNS and OTU the dive before it left.
void buildSeries(std::vector<ProfileFileDive> &dives, const std::string &name, const std::string &dir)
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
        editor->ReEvaluateUserEnteredWaypoints();
        previous = dive->Number();
    }
}

} // namespace

void OpenProfile()
{
    CommonDialog &dlg = fileDialog(GetLangStringQ(2306), GetLangStringQ(2303), installFolder(), QString());
    if (!dlg.ShowOpen() || dlg.FileName.isEmpty())
        return;
    const std::string path = dlg.FileName.toStdString();
    const auto [name, dir] = nameAndFolder(path);

    std::vector<ProfileFileDive> dives;
    try {
        dives = readSeriesFile(path);
    } catch (const RuntimeError &e) {
        // What is wrong, when the reader could say it: a depth, a setting, a number.
        const bool said = e.number() == ErrBadSettings || e.number() == ErrOverflow;
        reportFailure(path + "\r\n" + GetLangString(2310) + (said ? "\r\n" + e.description() : ""));
        return;
    } catch (const std::exception &) {
        reportFailure(path + "\r\n" + GetLangString(2310));
        return;
    }

    // Windows made before something refused (no free dive number left) are taken away
    // again: a series opens whole or not at all.
    std::vector<QPointer<frmWaypointEditor>> before(gDiveWindows.begin(), gDiveWindows.end());
    try {
        buildSeries(dives, name, dir);
    } catch (const RuntimeError &e) {
        for (size_t i = 1; i < gDiveWindows.size(); ++i)
            if (gDiveWindows[i] && (i >= before.size() || before[i] != gDiveWindows[i]))
                gDiveWindows[i]->CloseByCode();
        reportFailure(path + "\r\n" + GetLangString(2310) + "\r\n" + e.description());
    }
}

int16_t GetFirstProfileOfSeries(int16_t n)
{
    if (n == -1)
        return 0;
    int16_t first = n;
    const frmWaypointEditor *w = DiveWindow(n);
    while (w && w->PrevProfile != -1) {
        first = w->PrevProfile;
        w = DiveWindow(first);
    }
    return first;
}

bool SeriesChanged(int16_t profileNr)
{
    for (int16_t d = profileNr; d != -1;) {
        const frmWaypointEditor *w = DiveWindow(d);
        if (!w)
            break;
        if (gSettings[size_t(d)].ProfileChanged)
            return true;
        d = w->NextProfile;
    }
    return false;
}

bool SaveProfile(bool saveAs, int16_t profileNr)
{
    if (profileNr == -1) {
        const frmWaypointEditor *active = ActiveEditor();
        if (!active)
            return false;
        profileNr = DiveNumber(active);
    }
    const int16_t first = GetFirstProfileOfSeries(profileNr);
    if (!DiveWindow(first))
        return false;

    std::string path = gSettings[size_t(first)].ProfileName;
    if (saveAs || gSettings[size_t(first)].ProfileDir.empty()) {
        CommonDialog &dlg = fileDialog(GetLangStringQ(2306), GetLangStringQ(2305), installFolder(),
                                       QString::fromStdString(path));
        if (!dlg.ShowSave() || dlg.FileName.isEmpty())
            return false;
        path = dlg.FileName.toStdString();
    } else {
        path = gSettings[size_t(first)].ProfileDir + path;
    }

    try {
        SaveTextFile(path, "SaveProfile", [first](TextLineWriter &out) {
            for (int16_t d = first; d != -1;) {
                const frmWaypointEditor *w = DiveWindow(d);
                if (!w)
                    break;
                const SettingsRecord &r = gSettings[size_t(d)];
                WriteProfileDive(r.Template, r.SurfTime, w->UserEnteredWaypoints, out);
                d = w->NextProfile;
            }
        });
    } catch (const RuntimeError &e) {
        reportFailure(GetLangString(2311) + "\r\n" + path + "\r\n" + e.description());
        return false;
    }

    const auto [name, dir] = nameAndFolder(path);
    for (int16_t d = first; d != -1;) {
        frmWaypointEditor *w = DiveWindow(d);
        if (!w)
            break;
        SettingsRecord &r = gSettings[size_t(d)];
        r.ProfileDir = dir;
        r.ProfileName = name;
        w->setWindowTitle(diveCaption(r, " ]"));
        d = w->NextProfile;
    }
    return true;
}

void SaveTemplateAs()
{
    const int16_t idx = ActiveProfileNumber();
    TemplateRec &tmpl = gSettings[size_t(idx)].Template;
    if (!tmpl.Changed)
        return;
    if (MsgBox(GetLangStringQ(2300), vbOKCancel + vbQuestion) == vbCancel)
        return;
    const QString templateFolder = QString::fromStdString(JoinPath(InstallDir(), "template"));
    CommonDialog &dlg = fileDialog(GetLangStringQ(2307), GetLangStringQ(2301), templateFolder,
                                   QString::fromStdString(tmpl.Directory + tmpl.Templatename));
    if (!dlg.ShowSave() || dlg.FileName.isEmpty())
        return;
    const std::string path = dlg.FileName.toStdString();
    try {
        SaveTemplate(tmpl, path);
    } catch (const RuntimeError &e) {
        reportFailure(GetLangString(2312) + "\r\n" + path + "\r\n" + e.description());
        return;
    }
    const auto [name, dir] = nameAndFolder(path);
    tmpl.Templatename = name;
    tmpl.Directory = dir;
}

bool LoadTemplateInto()
{
    // The folder stays where the last file dialog left it.
    CommonDialog &dlg = fileDialog(GetLangStringQ(2307), GetLangStringQ(2308), QString(), QString());
    if (!dlg.ShowOpen() || dlg.FileName.isEmpty())
        return false;
    const auto [name, dir] = nameAndFolder(dlg.FileName.toStdString());

    frmWaypointEditor *editor = ActiveEditor();
    if (!editor)
        return LoadTemplate(gSettings[0].Template, name, dir);

    const int16_t idx = DiveNumber(editor);
    TemplateRec loaded;
    if (!LoadTemplate(loaded, name, dir))
        return false;
    SettingsRecord &r = gSettings[size_t(idx)];
    CopyTemplate(loaded, r.Template);
    r.Template.Templatename = name;
    editor->setWindowTitle(diveCaption(r));
    return true;
}
