#pragma once
// The about box: title, version and disclaimer, the system-information tool, the
// maker's web pages and the contributors box.

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr); // the window's load

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *Label1 = nullptr; // the version line
    QLabel *Label2 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    QPushButton *Contrib = nullptr;
    QPushButton *Command1 = nullptr; // home page
    QPushButton *Command2 = nullptr; // problem reports

    // "Version 1.2 Build:298".
    static QString VersionLine(int major, int minor, int revision);

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Contrib_Click();
    void Command1_Click();
    void Command2_Click();

private:
    void StartSysInfo();
};

// Opens a web page in the user's browser (recorded under test).
void OpenWebPage(const QString &address);
// Starts a program detached, with its own window (recorded under test); false when it
// could not be started.
bool StartProgram(const QString &program);
