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
#include "shell/MainModule.h"
#include "shell/ProfileFile.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <fstream>
#include <utility>

namespace {

frmWaypointEditor *diveWindow(int16_t n)
{
    if (n < 0 || size_t(n) >= gDiveWindows.size())
        return nullptr;
    return gDiveWindows[size_t(n)].data();
}

int16_t tagOf(const frmWaypointEditor *editor)
{
    return CInt(Val(editor->Tag().toStdString()));
}

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
    return QString::fromStdString(r.ProfileName + GetLangString(6163) + r.Template.Templatename + close);
}

// Puts the dives read from a file into new windows, first to last, each replayed with
// the CNS and OTU the dive before it left.
void buildSeries(std::vector<ProfileFileDive> &dives, const std::string &name, const std::string &dir)
{
    float carriedCNS = 0, carriedOTU = 0;
    int16_t previous = -1;
    int16_t k = 1;
    for (ProfileFileDive &d : dives) {
        const int16_t slot = AllocProfileSlot();
        {
            SettingsRecord &r = gSettings[size_t(slot)];
            r.ProfileChanged = false;
            r.OTU = carriedOTU;
            CopyTemplate(d.Template, r.Template);
            r.TemplateName = name;
            r.ProfileDir = dir;
            r.ProfileName = name;
            r.PrevProfile = previous;
            r.SurfTime = d.SurfTime;
            r.CNS = CNSAfterSurfaceInterval(carriedCNS, d.SurfTime);
        }

        auto *editor = new frmWaypointEditor;
        gDiveWindows[size_t(slot)] = editor;
        editor->setTag(QString::number(slot));
        gMainForm->AddDiveWindow(editor);
        editor->setWindowTitle(diveCaption(gSettings[size_t(slot)]));
        editor->SetTemplate();
        editor->PrevProfile = previous;
        editor->NextProfile = -1;
        if (frmWaypointEditor *before = diveWindow(previous))
            before->NextProfile = slot;
        previous = slot;

        for (int16_t i = 1; i <= d.Log.GetLength(); ++i)
            editor->SaveUserEnteredWaypoints(d.Log.gettime(i), d.Log.getDepth(i), d.Log.getmixnumber(i),
                                             d.Log.getaction(i) == ActionDecoMarker);
        editor->SurfProfileNumber = k;
        if (k > 1) {
            const SettingsRecord &r = gSettings[size_t(slot)];
            editor->setWindowTitle(QString::fromStdString(
                r.ProfileName + " Dive:" + std::to_string(k) + GetLangString(6163) + r.Template.Templatename +
                "]" + " surface interval " + LocaliseNumberText(JoinStr(r.SurfTime), gDecimalSeparator) + " min"));
        }
        editor->ReEvaluateUserEnteredWaypoints();
        carriedCNS = gSettings[size_t(slot)].CNS;
        carriedOTU = gSettings[size_t(slot)].OTU;
        ++k;
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
    const frmWaypointEditor *w = diveWindow(n);
    while (w && w->PrevProfile != -1) {
        first = w->PrevProfile;
        w = diveWindow(first);
    }
    return first;
}

bool SeriesChanged(int16_t profileNr)
{
    for (int16_t d = profileNr; d != -1;) {
        const frmWaypointEditor *w = diveWindow(d);
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
        profileNr = tagOf(active);
    }
    const int16_t first = GetFirstProfileOfSeries(profileNr);
    if (!diveWindow(first))
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
                const frmWaypointEditor *w = diveWindow(d);
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
        frmWaypointEditor *w = diveWindow(d);
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

    const int16_t idx = tagOf(editor);
    TemplateRec loaded;
    if (!LoadTemplate(loaded, name, dir))
        return false;
    SettingsRecord &r = gSettings[size_t(idx)];
    CopyTemplate(loaded, r.Template);
    r.Template.Templatename = name;
    editor->setWindowTitle(diveCaption(r));
    return true;
}
