#pragma once
// A waypoint dialog on a dive's scratch waypoint, shown offscreen, with the dive's
// settings in gSettings and a host that answers and records the message boxes.

#include "engine/ClassProfile.h"
#include "engine/EngineGlobals.h"
#include "platform/LocaliseForm.h"
#include "platform/TestHooks.h"
#include "shell/frmWaypointForm.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/FakeShellServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

class WaypointFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineGlobals();
        // Metres, open circuit, ppO2 limit 1.4, sea level, END limit 30 m.
        TemplateRec &t = dive();
        t.Metric = true;
        t.OpenCircuit = true;
        t.MaxPPO2 = 1.4f;
        t.Setpoint = 1.3f;
        t.StartPressure = 1.0f;
        t.MaximalEND = 30;
        t.O2Narcotic = false;
        t.Gases = {AirGas(), GasRecord{"EAN32", 32, 68, 0, 0}, GasRecord{"Tx18/45", 18, 37, 45, 0}};
    }

    void TearDown() override { form.reset(); }

    static TemplateRec &dive() { return gSettings[0].Template; }

    // Opens the dialog on a waypoint at `depth` for `minutes` breathing mix `mix`.
    frmWaypointForm &open(float depth, float minutes = 10, int16_t mix = 0, int16_t mode = -1,
                          const std::string &gasName = "")
    {
        scratch = ClassProfile();
        scratch.setDepth(0, depth);
        scratch.SetSegmentTime(0, minutes);
        scratch.SetMixNumber(0, mix);
        scratch.SetGasMixName(0, gasName);
        form = std::make_unique<frmWaypointForm>(shell.activeProfile);
        form->data(scratch, mode);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    template <typename T = QLineEdit>
    T *child(const char *name) const
    {
        T *w = form->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QString text(const char *name) const { return child<QLineEdit>(name)->text(); }
    QString info(const char *name) const { return child<QPlainTextEdit>(name)->toPlainText(); }

    // Types into a box the way the diver does: a click gives it the focus (coming from
    // the time field when it has it already), then the keys.
    void type(const char *name, const QString &keys)
    {
        QLineEdit *box = child(name);
        if (box->hasFocus())
            QTest::mouseClick(child("tbTime"), Qt::LeftButton);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, keys);
    }

    void spin(const char *name, bool up)
    {
        auto *b = child<QWidget>(name)->findChild<QToolButton *>(up ? "up" : "down");
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void click(const char *name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }

    // The one message box a step showed, answered with OK.
    static void expectOneBox(const QString &prompt, int32_t buttons)
    {
        ASSERT_EQ(TestHooks::msgBoxes.size(), 1u);
        EXPECT_EQ(TestHooks::msgBoxes[0].prompt, prompt);
        EXPECT_EQ(TestHooks::msgBoxes[0].buttons, buttons);
        TestHooks::msgBoxes.clear();
    }

    // A mouse move without a button over a control, as the diver's pointer gives it.
    void hover(const char *name)
    {
        QWidget *w = child<QWidget>(name);
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    FakeEngineHost host;
    FakeShellServices shell;
    ClassProfile scratch;
    std::unique_ptr<frmWaypointForm> form;
};
