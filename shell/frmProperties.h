#pragma once
// The settings dialog of a dive, opened modeless by the main window's "Template" button
// and its dive-settings command. For now it shows the dive's template name with OK and
// Cancel; the full dialog with every setting replaces this class. What stays: it takes
// up the active dive's record (the default template when no dive is active) and shows
// that dive's circuit mode in the main window; OK clears the record's ceiling override
// and has the main window apply the settings to the dive; Cancel sets NothingChanged.

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

class frmProperties : public QDialog {
    Q_OBJECT
public:
    explicit frmProperties(QWidget *parent = nullptr); // the window's load

    // False from creation; true once Cancel closed the dialog.
    bool NothingChanged = false;

    // The gSettings element the dialog works on.
    int16_t ProfileNumber() const { return profile_; }

    QLabel *lbTemplate = nullptr;
    QPushButton *cbOK = nullptr;
    QPushButton *cbCancel = nullptr;

public slots:
    void cbOK_Click();
    void cbCancel_Click();
    void reject() override; // Esc and the close box: as Cancel

private:
    int16_t profile_ = 0;
};

// Opens the settings dialog on the active dive (modeless) and applies that dive's
// record to its window again.
void ShowPropertiesForActiveProfile();
