#include "print/PrintPrint.h"

#include "engine/LibraryModule.h"
#include "engine/ResourceManager.h"
#include "engine/VBConversions.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "print/PrintPreview.h"
#include "print/PrintPrev.h"
#include "print/SpoolInterpreter.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace {

QPointer<PrintPrint> gPrintDialog;

QFrame *Separator(QWidget *parent, const char *name)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// A page number typed or chosen in a list, in the user's notation; no number gives
// nothing (it is refused, not read as page 0).
std::optional<int16_t> PageNumber(const QString &text)
{
    const std::string typed = text.trimmed().toStdString();
    if (!IsLocaleNumber(typed))
        return std::nullopt;
    const double v = std::round(LocaleVal(typed));
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

} // namespace

PrintPrint *PrintDialogWindow()
{
    return gPrintDialog;
}

PrintPrint::PrintPrint(QWidget *parent) : QDialog(parent), Apre(this)
{
    setObjectName(QStringLiteral("PrintPrint"));
    setProperty("Tag", IdText(2214));
    gPrintDialog = this;

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("Tag", IdText(2217));
    tPag = new QLabel(this);
    tPag->setObjectName(QStringLiteral("tPag"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setProperty("Tag", IdText(2218));
    sPag = new QComboBox(this);
    sPag->setObjectName(QStringLiteral("sPag"));
    sPag->setEditable(true);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setProperty("Tag", IdText(2219));
    ePag = new QComboBox(this);
    ePag->setObjectName(QStringLiteral("ePag"));
    ePag->setEditable(true);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Line1 = Separator(this, "Line1");
    Line2 = Separator(this, "Line2");
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setProperty("Tag", IdText(2220));
    Command1->setDefault(true);
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setProperty("Tag", IdText(2222));
    Command3 = new QPushButton(this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setProperty("Tag", IdText(2221));

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(tPag, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(sPag, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(ePag, 2, 1);
    auto *progress = new QHBoxLayout;
    progress->addWidget(Label4);
    progress->addWidget(ProgressBar1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Line1);
    layout->addLayout(progress);
    layout->addWidget(Line2);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &PrintPrint::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &PrintPrint::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &PrintPrint::Command3_Click);

    Form_Load();
}

PrintPrint::~PrintPrint() = default;

void PrintPrint::Form_Load()
{
    LocaliseForm(this);
    const PrintPrev *preview = LoadedPrintPrev();
    const QString count = preview ? preview->getPageMax() : QStringLiteral("0");
    tPag->setText(count);
    const int n = count.toInt();
    for (int i = 1; i <= n; ++i) {
        sPag->addItem(QString::number(i));
        ePag->addItem(QString::number(i));
    }
    sPag->setCurrentIndex(n > 0 ? 0 : -1);
    ePag->setCurrentIndex(n > 0 ? n - 1 : -1);
    // Nothing to print in a job without pages.
    Command1->setEnabled(n > 0);
}

void PrintPrint::Command1_Click()
{
    if (printing_ || !Command1->isEnabled())
        return;
    const std::optional<int16_t> fromPage = PageNumber(sPag->currentText());
    const std::optional<int16_t> toPage = PageNumber(ePag->currentText());
    const QString title = QString::fromStdString(GetLangString(2214));
    if (!fromPage || !toPage) {
        MsgBox(QString::fromStdString(GetLangString(7221)), vbOKOnly + vbExclamation, title);
        (fromPage ? ePag : sPag)->setFocus();
        return;
    }
    const int16_t from = *fromPage;
    int16_t to = *toPage;
    // A range that holds no page of the job would print nothing without a word.
    const int16_t pages = static_cast<int16_t>(tPag->text().toInt());
    if (std::max<int16_t>(from, 1) > std::min(std::max(to, from), pages)) {
        MsgBox(QString::fromStdString(GetLangString(7220)), vbOKOnly + vbExclamation, title);
        return;
    }
    QString question;
    if (from <= to) {
        question = QString::fromStdString(GetLangString(2215)) + '\t' + QString::number(from) + '\n' +
                   QString::fromStdString(GetLangString(2216)) + '\t' + QString::number(to) + '?';
    } else {
        to = from; // only the from page is offered
        question = QString::fromStdString(GetLangString(2211)) + QString::number(from) + '?';
    }
    if (MsgBox(question, vbYesNo + vbQuestion, title) == vbYes) {
        gPrintCancel = false;
        printing_ = true;
        Command1->setEnabled(false);
        Command3->setEnabled(false);
        QPointer<PrintPrint> self(this);
        PrintPages(from, to);
        if (!self)
            return;
        printing_ = false;
    }
    if (isVisible())
        done(QDialog::Accepted);
}

void PrintPrint::Command2_Click()
{
    gPrintCancel = true;
    QDialog::reject();
}

void PrintPrint::reject()
{
    // Esc and the close box: as Cancel, which also stops a print in progress.
    Command2_Click();
}

void PrintPrint::Command3_Click()
{
    Apre.Flags = CommonDialog::cdlPDPrintSetup;
    Apre.ShowPrinter(Printer());
}
