#pragma once
// Starts DOLV the way the program does (Main), offscreen, with the disclaimer answered
// by a scripted handler, and puts everything back afterwards. Shared by every test
// binary; each test file derives its own fixture name from it.

#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "platform/TestHooks.h"
#include "shell/MainModule.h"
#include "shell/frmLiability.h"
#include "shell/frmMain.h"
#include "shell/frmWaypointEditor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

class StartUpFixture : public ::testing::Test {
protected:
    void TearDown() override { ResetShell(); }

    // Runs Main with the command line; the disclaimer is agreed to unless a handler for
    // it was queued already.
    bool start(const QString &commandLine = QString())
    {
        SetCommandLine(commandLine);
        if (TestHooks::modalHandlers.empty())
            TestHooks::modalHandlers.push_back(agree);
        return Main();
    }

    static void agree(QDialog *d) { static_cast<frmLiability *>(d)->cbAgree->click(); }
    static void decline(QDialog *d) { static_cast<frmLiability *>(d)->cbNoAgree->click(); }

    static QList<QMdiSubWindow *> diveWindows() { return gMainForm->MdiArea()->subWindowList(); }

    // The title a new dive n gets.
    static QString diveTitle(int n)
    {
        return GetLangStringQ(1060) + QString::number(n) + GetLangStringQ(6163) + QStringLiteral("Default]");
    }
};
