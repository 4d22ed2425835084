#include "shell/DiveWindows.h"

#include "engine/EngineGlobals.h"
#include "engine/ResourceManager.h"
#include "shell/MainModule.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

frmWaypointEditor *DiveWindow(int16_t profileNr)
{
    if (profileNr < 0 || static_cast<size_t>(profileNr) >= gDiveWindows.size())
        return nullptr;
    return gDiveWindows[static_cast<size_t>(profileNr)].data();
}

int16_t DiveNumber(const frmWaypointEditor *editor)
{
    return editor ? editor->ProfileNumber() : int16_t(-1);
}

frmWaypointEditor *OpenDiveWindow(std::shared_ptr<Dive> dive, const QString &caption)
{
    const int16_t n = dive->Number();
    if (gDiveWindows.size() <= static_cast<size_t>(n))
        gDiveWindows.resize(static_cast<size_t>(n) + 1);
    auto *editor = new frmWaypointEditor(std::move(dive));
    gDiveWindows[static_cast<size_t>(n)] = editor;
    editor->setTag(QString::number(n));
    gMainForm->AddDiveWindow(editor);
    editor->setWindowTitle(caption);
    editor->SetTemplate();
    return editor;
}

QString DiveCaption(const std::string &title, const std::string &templateName, const std::string &close,
                    const std::string &after)
{
    return QString::fromStdString(title + GetLangString(6163) + templateName + close + after);
}
