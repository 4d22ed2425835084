#include "shell/frmMain.h"

#include "engine/DiveModel.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/RuntimeError.h"
#include "engine/TemplateModule.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/WindowSettings.h"
#include "platform/ErrorModule.h"
#include "shell/DiveWindows.h"
#include "shell/MainModule.h"
#include "shell/frmWaypointEditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <vector>

namespace {

// Window placement is stored in twips, as the settings store has always held it.
constexpr int kTwipsPerPixel = 15;

QAction *menuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key = {})
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu *menu(QWidget *parent, const char *name, const QString &caption)
{
    auto *m = new QMenu(caption, parent);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    return m;
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("DOLV"));
    setWindowIcon(imlIcons.image(ImageList::Dive));
    MdiArea_ = new QMdiArea(this);
    MdiArea_->setObjectName(QStringLiteral("MdiArea"));
    MdiArea_->setBackground(QColor(128, 128, 128));
    setCentralWidget(MdiArea_);
    connect(MdiArea_, &QMdiArea::subWindowActivated, this, &frmMain::subWindowActivated);
    gMainForm = this;

    createMenus();
    createToolBar();
    createStatusBar();
    LocaliseForm(this);
    restorePlacement();
    NewProfileWindow();
    IsOpenCircuit_ = true;
    SetStatusText(GetLangString(5005));
}

frmMain::~frmMain()
{
    // The MDI area outlives this body (QWidget's destructor deletes it) and activates
    // other sub-windows while its dive windows go: that must not reach a main window
    // that is already half destroyed.
    if (MdiArea_)
        disconnect(MdiArea_, nullptr, this, nullptr);
    if (gMainForm == this)
        gMainForm = nullptr;
    FreeLanguageDll();
}

void frmMain::createMenus()
{
    QMenuBar *bar = menuBar();

    mnuFile = menu(this, "mnuFile", IdText(1000));
    mnuNewProfile = menuItem(mnuFile, "mnuNewProfile", IdText(1001), Qt::CTRL | Qt::Key_N);
    mnuOpen = menuItem(mnuFile, "mnuOpen", IdText(1002), Qt::CTRL | Qt::Key_O);
    mnuClose = menuItem(mnuFile, "mnuClose", IdText(1003), Qt::CTRL | Qt::Key_W);
    mnuFileBar1 = separator(mnuFile, "mnuFileBar1");
    mnuLoadTemplate = menuItem(mnuFile, "mnuLoadTemplate", IdText(1004));
    mnuSaveTemplate = menuItem(mnuFile, "mnuSaveTemplate", IdText(1005), Qt::CTRL | Qt::Key_Y);
    mnuFileBar2 = separator(mnuFile, "mnuFileBar2");
    mnuSaveProfile = menuItem(mnuFile, "mnuSaveProfile", IdText(1006), Qt::CTRL | Qt::Key_S);
    mnuSaveProfileAs = menuItem(mnuFile, "mnuSaveProfileAs", IdText(1007), Qt::CTRL | Qt::Key_L);
    mnuFuleBar3 = separator(mnuFile, "mnuFuleBar3");
    mnuTemplate = menuItem(mnuFile, "mnuTemplate", IdText(1008), Qt::CTRL | Qt::Key_T);
    mnuFileBar4 = separator(mnuFile, "mnuFileBar4");
    mnuExit = menuItem(mnuFile, "mnuExit", IdText(1011), Qt::CTRL | Qt::Key_Q);
    bar->addMenu(mnuFile);

    mnuDefault = menu(this, "mnuDefault", IdText(1020));
    mnuAlgorithm = menu(mnuDefault, "mnuAlgorithm", IdText(1021));
    mnuDefault->addMenu(mnuAlgorithm);
    mnuBulhmannB = menuItem(mnuAlgorithm, "mnuBulhmannB", IdText(1022));
    mnuBulhmannC = menuItem(mnuAlgorithm, "mnuBulhmannC", IdText(1023));
    for (QAction *a : {mnuBulhmannB, mnuBulhmannC})
        a->setCheckable(true);
    mnuBulhmannB->setChecked(true);
    mnualgsep = separator(mnuAlgorithm, "mnualgsep");
    mnualgsep->setVisible(false);
    mnuVPM = menuItem(mnuAlgorithm, "mnuVPM", IdText(1025));
    mnuHybrid = menuItem(mnuAlgorithm, "mnuHybrid", IdText(1026));
    for (QAction *a : {mnuVPM, mnuHybrid}) {
        a->setCheckable(true);
        a->setVisible(false);
        a->setEnabled(false);
    }
    mnusep = separator(mnuDefault, "mnusep");
    mnuConservatism = menuItem(mnuDefault, "mnuConservatism", IdText(1024), Qt::CTRL | Qt::Key_R);
    mnuOC = menuItem(mnuDefault, "mnuOC", IdText(1107), Qt::Key_F4);
    mnuStartAscent = menuItem(mnuDefault, "mnuStartAscent", IdText(1105), Qt::Key_F8);
    mnuspe10 = separator(mnuDefault, "mnuspe10");
    mnuSurface = menuItem(mnuDefault, "mnuSurface", IdText(3029), Qt::CTRL | Qt::Key_G);
    mnuSurface->setEnabled(false);
    mnulangsep = separator(mnuDefault, "mnulangsep");
    mnuLanguages = menuItem(mnuDefault, "mnuLanguages", IdText(1038));
    bar->addMenu(mnuDefault);

    mnuReport = menu(this, "mnuReport", IdText(1030));
    mnuDiveInformation = menuItem(mnuReport, "mnuDiveInformation", IdText(1106), Qt::CTRL | Qt::Key_F);
    mnuGeneralReport = menuItem(mnuReport, "mnuGeneralReport", IdText(1031), Qt::CTRL | Qt::Key_I);
    mnuBailoutReport = menuItem(mnuReport, "mnuBailoutReport", IdText(1032), Qt::CTRL | Qt::Key_B);
    mnuGenerateTables = menuItem(mnuReport, "mnuGenerateTables", IdText(1033), Qt::CTRL | Qt::Key_E);
    bar->addMenu(mnuReport);

    mnuTools = menu(this, "mnuTools", IdText(1035));
    mnuMixer = menuItem(mnuTools, "mnuMixer", IdText(6318), Qt::CTRL | Qt::Key_M);
    bar->addMenu(mnuTools);

    mnuWindow = menu(this, "mnuWindow", IdText(1040));
    mnuWindowCascade = menuItem(mnuWindow, "mnuWindowCascade", IdText(1041));
    mnuWindowTileHorizontal = menuItem(mnuWindow, "mnuWindowTileHorizontal", IdText(1042), Qt::Key_F6);
    mnuWindowTileVertical = menuItem(mnuWindow, "mnuWindowTileVertical", IdText(1043), Qt::SHIFT | Qt::Key_F6);
    mnuWindowArrangeIcons = menuItem(mnuWindow, "mnuWindowArrangeIcons", IdText(1044));
    bar->addMenu(mnuWindow);

    mnuHelp = menu(this, "mnuHelp", IdText(1050));
    mnuHelpContents = menuItem(mnuHelp, "mnuHelpContents", IdText(1051));
    mnuHelpSearch = menuItem(mnuHelp, "mnuHelpSearch", IdText(1052));
    mmmabout1 = separator(mnuHelp, "mmmabout1");
    mnuHelpAbout = menuItem(mnuHelp, "mnuHelpAbout", IdText(1053));
    bar->addMenu(mnuHelp);

    // The pop-up menu of a dive window's right click; never in the menu bar.
    mnuWaypoint = menu(this, "mnuWaypoint", QStringLiteral("popupmenu"));
    mnucleardecopoints = menuItem(mnuWaypoint, "mnucleardecopoints", IdText(1054));
    mnucleardecopoints->setEnabled(false);
    popup1 = separator(mnuWaypoint, "popup1");
    mnuclearlastwaypoint = menuItem(mnuWaypoint, "mnuclearlastwaypoint", IdText(1055));
    mnuclearallwaypoints = menuItem(mnuWaypoint, "mnuclearallwaypoints", IdText(1056));

    // The gradient-factor command of the pop-up menu, with its key also reachable from
    // anywhere in the main window.
    mnutemp = menu(this, "mnutemp", QString());
    mnutemp->setEnabled(false);
    ShowConservatism = menuItem(mnutemp, "ShowConservatism", IdText(1071), Qt::SHIFT | Qt::Key_F1);
    mnuWaypoint->addSeparator();
    mnuWaypoint->addAction(ShowConservatism);
    addAction(ShowConservatism);

    const std::pair<QAction *, void (frmMain::*)()> commands[] = {
        {mnuNewProfile, &frmMain::mnuNewProfile_Click},
        {mnuOpen, &frmMain::mnuOpen_Click},
        {mnuClose, &frmMain::mnuClose_Click},
        {mnuLoadTemplate, &frmMain::mnuLoadTemplate_Click},
        {mnuSaveTemplate, &frmMain::mnuSaveTemplate_Click},
        {mnuSaveProfile, &frmMain::mnuSaveProfile_Click},
        {mnuSaveProfileAs, &frmMain::mnuSaveProfileAs_Click},
        {mnuTemplate, &frmMain::mnuTemplate_Click},
        {mnuExit, &frmMain::mnuExit_Click},
        {mnuBulhmannB, &frmMain::mnuBulhmannB_Click},
        {mnuBulhmannC, &frmMain::mnuBulhmannC_Click},
        {mnuVPM, &frmMain::mnuVPM_Click},
        {mnuHybrid, &frmMain::mnuHybrid_Click},
        {mnuConservatism, &frmMain::mnuConservatism_Click},
        {mnuOC, &frmMain::mnuOC_Click},
        {mnuStartAscent, &frmMain::mnuStartAscent_Click},
        {mnuSurface, &frmMain::mnuSurface_Click},
        {mnuLanguages, &frmMain::mnuLanguages_Click},
        {mnuDiveInformation, &frmMain::mnuDiveInformation_Click},
        {mnuGeneralReport, &frmMain::mnuGeneralReport_Click},
        {mnuBailoutReport, &frmMain::mnuBailoutReport_Click},
        {mnuGenerateTables, &frmMain::mnuGenerateTables_Click},
        {mnuMixer, &frmMain::mnuMixer_Click},
        {mnuWindowCascade, &frmMain::mnuWindowCascade_Click},
        {mnuWindowTileHorizontal, &frmMain::mnuWindowTileHorizontal_Click},
        {mnuWindowTileVertical, &frmMain::mnuWindowTileVertical_Click},
        {mnuWindowArrangeIcons, &frmMain::mnuWindowArrangeIcons_Click},
        {mnuHelpContents, &frmMain::mnuHelpContents_Click},
        {mnuHelpSearch, &frmMain::mnuHelpSearch_Click},
        {mnuHelpAbout, &frmMain::mnuHelpAbout_Click},
        {mnucleardecopoints, &frmMain::mnucleardecopoints_Click},
        {mnuclearlastwaypoint, &frmMain::mnuclearlastwaypoint_Click},
        {mnuclearallwaypoints, &frmMain::mnuclearallwaypoints_Click},
        {ShowConservatism, &frmMain::ShowConservatism_Click},
    };
    for (const auto &[action, handler] : commands)
        connect(action, &QAction::triggered, this, handler);
}

void frmMain::createToolBar()
{
    tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    tbToolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    struct ButtonDesign {
        const char *key;
        QString toolTip; // a string ID, or a fixed text
        int image;
    };
    const ButtonDesign design[] = {
        {"New", IdText(1100), ImageList::New},
        {"Open", IdText(1101), ImageList::Open},
        {"Save", IdText(1102), ImageList::Save},
        {nullptr, QString(), 0},
        {"Conservatism", IdText(1104), ImageList::Conservatism},
        {"Ascent", IdText(1105), ImageList::Ascent},
        {"AscentInfo", IdText(1106), ImageList::AscentInfo},
        {nullptr, QString(), 0},
        {"OpenCircuit", IdText(1107), ImageList::OpenCircuit},
        {"Template", IdText(1111), ImageList::Template},
        {nullptr, QString(), 0},
        {"Report", IdText(1109), ImageList::Report},
        {"Bailout", IdText(1110), ImageList::Bailout},
        {"TableExpert", IdText(1112), ImageList::TableExpert},
        {nullptr, QString(), 0},
        {"Multilevel", IdText(6333), ImageList::Multilevel},
        {nullptr, QString(), 0},
        {"Mixer", QStringLiteral("Partial Pressure Mixer"), ImageList::Mixer},
    };
    for (const ButtonDesign &b : design) {
        if (!b.key) {
            buttons_ << tbToolBar->addSeparator();
            continue;
        }
        QAction *a = tbToolBar->addAction(imlIcons.image(b.image), QString());
        a->setObjectName(QLatin1String(b.key));
        a->setData(QLatin1String(b.key));
        SetToolTipText(a, b.toolTip);
        buttons_ << a;
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
    // However small the stored placement, every button of the toolbar stays in sight.
    setMinimumWidth(tbToolBar->sizeHint().width() + 2 * tbToolBar->contentsMargins().left());
}

void frmMain::createStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setContentsMargins(4, 0, 4, 0);
    }
    panels_[0]->setProperty("Key", QStringLiteral("Status"));
    sbStatusBar->addWidget(panels_[0], 1);
    sbStatusBar->addPermanentWidget(panels_[1]);
    sbStatusBar->addPermanentWidget(panels_[2]);
    // The date and time panels keep showing the present moment.
    auto *clock = new QTimer(this);
    const auto tick = [this] {
        const QDateTime now = QDateTime::currentDateTime();
        panels_[1]->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
        panels_[2]->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
    };
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
    tick();
}

void frmMain::restorePlacement()
{
    // No placement kept yet (the first start), or one that cannot be read: three quarters
    // of the primary screen, centred.
    const QList<QRect> screens = AvailableScreenAreas();
    const std::optional<QRect> kept = GetPlacement(QStringLiteral("Settings"), QStringLiteral("Main"));
    if (!kept) {
        const QRect screen = screens.isEmpty() ? QRect(0, 0, 1024, 768) : screens.first();
        const QSize first(screen.width() * 3 / 4, screen.height() * 3 / 4);
        resize(first);
        move(screen.center() - QPoint(first.width() / 2, first.height() / 2));
        return;
    }
    const QRect place = PlaceOnScreens(*kept, screens);
    move(place.topLeft());
    resize(place.size());
}

void frmMain::storePlacement()
{
    if (isMinimized())
        return;
    // The frame's corner and the size inside the frame: what move() and resize() take
    // back at the next start, so the window does not grow by its frame at every start.
    const QPoint corner = pos();
    const QSize inner = size();
    SaveSetting(QStringLiteral("Settings"), QStringLiteral("MainLeft"), QString::number(corner.x() * kTwipsPerPixel));
    SaveSetting(QStringLiteral("Settings"), QStringLiteral("MainTop"), QString::number(corner.y() * kTwipsPerPixel));
    SaveSetting(QStringLiteral("Settings"), QStringLiteral("MainWidth"), QString::number(inner.width() * kTwipsPerPixel));
    SaveSetting(QStringLiteral("Settings"), QStringLiteral("MainHeight"), QString::number(inner.height() * kTwipsPerPixel));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The first dive of each series asks to save the whole series while every dive of it
    // is still open. Every series is asked before any closes: a Cancel (or a save that
    // does not happen) keeps the whole program running with all its windows, also the
    // series answered "No" before it, whose plans would otherwise be lost.
    std::vector<QPointer<QMdiSubWindow>> firsts;
    for (QMdiSubWindow *sub : MdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        const Dive *dive = FindDive(DiveNumber(qobject_cast<frmWaypointEditor *>(sub->widget())));
        if (dive && dive->PrevProfile() == -1)
            firsts.emplace_back(sub);
    }
    for (const QPointer<QMdiSubWindow> &sub : firsts) {
        auto *editor = sub ? qobject_cast<frmWaypointEditor *>(sub->widget()) : nullptr;
        if (editor && !editor->AskToSaveSeries()) {
            event->ignore();
            return;
        }
    }
    // Then each first dive closes, with the rest of its series, asking no more.
    for (const QPointer<QMdiSubWindow> &sub : firsts) {
        if (!sub)
            continue;
        QPointer<frmWaypointEditor> editor = qobject_cast<frmWaypointEditor *>(sub->widget());
        if (editor)
            editor->SetSaveQuestionAnswered(true);
        const bool closed = sub->close();
        if (editor)
            editor->SetSaveQuestionAnswered(false);
        if (!closed) {
            event->ignore();
            return;
        }
    }
    MdiArea_->closeAllSubWindows();
    if (!MdiArea_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    storePlacement();
    event->accept();
    if (!ApplicationEnding())
        EndApplication();
}

frmWaypointEditor *frmMain::ActiveForm() const
{
    QMdiSubWindow *sub = MdiArea_->currentSubWindow();
    return sub ? qobject_cast<frmWaypointEditor *>(sub->widget()) : nullptr;
}

QMdiSubWindow *frmMain::AddDiveWindow(frmWaypointEditor *editor)
{
    QMdiSubWindow *sub = MdiArea_->addSubWindow(editor);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The window menu's Ctrl+W would take File > Close's key from the main window.
    for (QAction *a : sub->systemMenu()->actions())
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_W))
            a->setShortcut(QKeySequence());
    // Before the main window is first shown its window area has no size yet: the
    // window's own size, less menu, toolbar and status bar, stands in for it.
    const QSize room = MdiArea_->isVisible() ? MdiArea_->viewport()->size() : size() - QSize(0, 110);
    sub->setGeometry(NewDiveWindowRect(room, int(MdiArea_->subWindowList().size()) - 1));
    sub->show();
    MdiArea_->setActiveSubWindow(sub);
    return sub;
}

// A new dive window takes three quarters of the window area, each one a step further
// down and to the right of the one before, starting again at the top left corner before
// it would leave the area: the whole window, title and borders, is always in view.
QRect NewDiveWindowRect(const QSize &area, int index)
{
    const int width = qMin(area.width(), qMax(kReadableDiveWindow.width(), area.width() * 3 / 4));
    const int height = qMin(area.height(), qMax(kReadableDiveWindow.height(), area.height() * 3 / 4));
    const int step = 24;
    const int fit = qMax(1, qMin((area.width() - width) / step, (area.height() - height) / step) + 1);
    const int k = qMax(0, index) % fit;
    return QRect(k * step, k * step, width, height);
}

QAction *frmMain::Buttons(int index) const
{
    return index >= 1 && index <= buttons_.size() ? buttons_[index - 1] : nullptr;
}

QAction *frmMain::Button(const QString &key) const
{
    for (QAction *a : buttons_)
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

QLabel *frmMain::Panels(int index) const
{
    return index >= 1 && index <= 3 ? panels_[index - 1] : nullptr;
}

void frmMain::SetOpenCircuit(bool isChanged)
{
    QAction *b = Buttons(9);
    b->setIcon(imlIcons.image(QStringLiteral("OpenCircuit")));
    SetToolTipText(b, GetLangStringQ(1107));
    mnuOC->setText(GetLangStringQ(1108));
    IsOpenCircuit_ = true;
    if (isChanged)
        ApplyToProfile();
}

void frmMain::SetConstPPO(bool isChanged)
{
    QAction *b = Buttons(9);
    b->setIcon(imlIcons.image(QStringLiteral("Rebreather")));
    SetToolTipText(b, GetLangStringQ(1108));
    mnuOC->setText(GetLangStringQ(1107));
    IsOpenCircuit_ = false;
    if (isChanged)
        ApplyToProfile();
}

void frmMain::ShowCircuitMode(bool openCircuit)
{
    if (openCircuit)
        SetOpenCircuit(false);
    else
        SetConstPPO(false);
}

void frmMain::ApplyToProfile()
{
    frmWaypointEditor *editor = ActiveForm();
    if (!editor)
        return;
    const int16_t n = DiveNumber(editor);
    SettingsRecord &r = RecordOf(n, "frmMain.ApplyToProfile");
    r.Template.OpenCircuit = IsOpenCircuit_;
    r.Template.Changed = true;
    // New settings change the dive as the series file holds it: closing asks to save.
    r.ProfileChanged = true;
    CallByName(editor, "ReEvaluateUserEnteredWaypoints");
}

void frmMain::EnableProfileCommands(bool AscentOn, bool InfoOn)
{
    Buttons(6)->setEnabled(AscentOn);
    mnuStartAscent->setEnabled(AscentOn);
    Buttons(7)->setEnabled(InfoOn);
    mnuDiveInformation->setEnabled(InfoOn);
}

void frmMain::ShowActiveDiveCommands()
{
    const frmWaypointEditor *editor = ActiveForm();
    const Dive *dive = editor ? &editor->dive() : nullptr;
    const int16_t state = dive ? dive->State : int16_t(EditorEmpty);
    EnableProfileCommands(state == EditorUserLegs, state != EditorEmpty);
    const bool computed = state == EditorComputed;
    Button(QStringLiteral("Multilevel"))->setEnabled(computed && dive->NextProfile() == -1);
    mnuSurface->setEnabled(computed && dive->NextProfile() == -1);
    mnucleardecopoints->setEnabled(computed);
}

void frmMain::NewProfileWindow()
{
    LocaliseForm(this);
    const int16_t n = AllocProfileSlot();
    const SettingsRecord &defaults = RecordOf(0, "frmMain.NewProfileWindow");
    SettingsRecord &dive = RecordOf(n, "frmMain.NewProfileWindow");
    dive.ProfileChanged = false;
    dive.PrevProfile = -1;
    CopyTemplate(defaults.Template, dive.Template);
    dive.TemplateName = defaults.Template.Templatename;
    dive.ProfileName = GetLangString(1060) + std::to_string(n);

    frmWaypointEditor *editor =
        OpenDiveWindow(OpenDive(n), DiveCaption(dive.ProfileName, defaults.TemplateName));
    editor->setPrevNext(-1, -1);
    ShowActiveDiveCommands();
}

void frmMain::subWindowActivated(QMdiSubWindow *window)
{
    if (auto *editor = window ? qobject_cast<frmWaypointEditor *>(window->widget()) : nullptr)
        RunGuarded("frmWaypointEditor.Form_Activate", [editor] { editor->Form_Activate(); });
    else
        ShowActiveDiveCommands(); // no dive in front: nothing to offer
}
