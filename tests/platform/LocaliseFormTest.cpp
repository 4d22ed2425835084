// Putting the language's texts into a window built with string IDs.

#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "tests/support/FakeEngineHost.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

class LocaliseFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        install.write("lang/DOLV_uk.lng", "0\tZero\n10\tWindow\n11\tLabel\n12\tButton\n13\tTip\n"
                                          "14\tFrame\n20\tFile\n21\tOpen\n22\tAlgorithm\n23\tZH-L16 B\n"
                                          "30\tTool one\n31\tTab one\n32\tTab tip\n999\tEnglish\n");
        std::string name = kDefaultLanguageFile;
        ASSERT_EQ(LoadLanguageDll(name), 1);
    }
    void TearDown() override { FreeLanguageDll(); }

    FakeEngineHost host;
    TempInstallDir install;
};

template <typename T>
T *add(QWidget *parent, const char *name, const QVariant &tag = {}, const QString &text = "design")
{
    auto *w = new T(parent);
    w->setObjectName(name);
    if constexpr (std::is_base_of_v<QLabel, T> || std::is_base_of_v<QAbstractButton, T>)
        w->setText(text);
    if (tag.isValid())
        w->setProperty("Tag", tag);
    return w;
}

TEST_F(LocaliseFormTest, CaptionsLabelsButtonsAndToolTips)
{
    QWidget form;
    form.setWindowTitle("design");
    form.setProperty("Tag", "10");
    auto *label = add<QLabel>(&form, "label", "11");
    auto *emptyTag = add<QLabel>(&form, "emptyTag", "");
    auto *zeroLabel = add<QLabel>(&form, "zeroLabel", "0");
    auto *textLabel = add<QLabel>(&form, "textLabel", "12 apples"); // a label needs a whole number
    auto *button = add<QPushButton>(&form, "button", "11.6 and more"); // others read the leading number
    button->setProperty("ToolTipText", "13");
    auto *zeroButton = add<QPushButton>(&form, "zeroButton", "0");
    auto *hugeButton = add<QPushButton>(&form, "hugeButton", "40000");
    auto *frame = new QGroupBox("design", &form);
    frame->setProperty("Tag", "14");
    auto *inside = add<QLabel>(frame, "inside", "11");
    auto *edit = add<QLineEdit>(&form, "edit", "12"); // no caption to set
    edit->setProperty("ToolTipText", "13");

    LocaliseForm(&form);

    EXPECT_EQ(form.windowTitle(), "Window");
    EXPECT_EQ(label->text(), "Label");
    EXPECT_EQ(emptyTag->text(), "design");
    EXPECT_EQ(zeroLabel->text(), "Zero");
    EXPECT_EQ(textLabel->text(), "design");
    EXPECT_EQ(button->text(), "Button");
    EXPECT_EQ(button->toolTip(), "Tip");
    EXPECT_EQ(zeroButton->text(), "design");
    EXPECT_EQ(hugeButton->text(), "design");
    EXPECT_EQ(frame->title(), "Frame");
    EXPECT_EQ(inside->text(), "Label");
    EXPECT_EQ(edit->toolTip(), "Tip");

    // A label whose Tag names no string shows the missing-string form.
    label->setProperty("Tag", "77");
    LocaliseForm(&form);
    EXPECT_EQ(label->text(), "*StringID 77*");
}

TEST_F(LocaliseFormTest, MenusToolbarsAndTabs)
{
    QMainWindow form;
    QMenu *file = form.menuBar()->addMenu("20");
    QAction *open = file->addAction("21");
    QAction *sep = file->addSeparator();
    QMenu *algorithm = file->addMenu("22");
    QAction *b = algorithm->addAction("23");
    QAction *plain = file->addAction("Partial Pressure Mixer");
    QToolBar *bar = form.addToolBar("bar");
    QAction *tool = bar->addAction("t");
    tool->setProperty("ToolTipText", "30");
    QAction *fixed = bar->addAction("m");
    SetToolTipText(fixed, "Partial Pressure Mixer");
    auto *tabs = new QTabBar(&form);
    tabs->addTab("design");
    tabs->setTabData(0, "31");
    tabs->setTabToolTip(0, "32");

    LocaliseForm(&form);

    EXPECT_EQ(file->title(), "File");
    EXPECT_EQ(open->text(), "Open");
    EXPECT_TRUE(sep->isSeparator());
    EXPECT_EQ(algorithm->title(), "Algorithm");
    EXPECT_EQ(b->text(), "ZH-L16 B");
    EXPECT_EQ(plain->text(), "Partial Pressure Mixer");
    EXPECT_EQ(tool->toolTip(), "Tool one");
    EXPECT_EQ(fixed->toolTip(), "Partial Pressure Mixer");
    EXPECT_EQ(tabs->tabText(0), "Tab one");
    EXPECT_EQ(tabs->tabToolTip(0), "Tab tip");

    // A second pass leaves texts that are no longer IDs alone: a tool tip changed by the
    // program after the first pass stays.
    SetToolTipText(tool, "changed");
    LocaliseForm(&form);
    EXPECT_EQ(tool->toolTip(), "changed");
    EXPECT_EQ(open->text(), "Open");
}

TEST_F(LocaliseFormTest, OwnedWindowsAreLeftToTheirOwnLoad)
{
    QWidget form;
    auto *owned = new QDialog(&form);
    owned->setProperty("Tag", "10");
    auto *ownedLabel = add<QLabel>(owned, "ownedLabel", "11");
    LocaliseForm(&form);
    EXPECT_EQ(ownedLabel->text(), "design");
    EXPECT_EQ(owned->windowTitle(), "");
}

} // namespace
