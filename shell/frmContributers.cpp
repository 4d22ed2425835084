#include "shell/frmContributers.h"

#include "platform/LocaliseForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *label(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

} // namespace

frmContributers::frmContributers(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmContributers"));
    Contrib = label(this, "Contrib");
    QFont bold = Contrib->font();
    bold.setBold(true);
    Contrib->setFont(bold);
    Contrib1Name = label(this, "Contrib1Name");
    Contrib1 = label(this, "Contrib1");
    Contrib2Name = label(this, "Contrib2Name");
    Contrib2 = label(this, "Contrib2");
    Contrib4Name = label(this, "Contrib4Name");
    Contrib4 = label(this, "Contrib4");
    Label1 = label(this, "Label1");
    Label3 = label(this, "Label3");
    Label5 = label(this, "Label5");
    Label7 = label(this, "Label7");
    Label9 = label(this, "Label9");
    Label10 = label(this, "Label10");
    Label13 = label(this, "Label13");
    Label14 = label(this, "Label14");
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);

    auto *people = new QGridLayout;
    const std::pair<QLabel *, QLabel *> rows[] = {
        {Contrib1Name, Contrib1}, {Contrib2Name, Contrib2}, {Contrib4Name, Contrib4}};
    int row = 0;
    for (const auto &[name, what] : rows) {
        name->setFont(bold);
        name->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        people->addWidget(name, row, 0);
        people->addWidget(what, row++, 1);
    }
    people->setColumnStretch(1, 1);
    auto *notes = new QGridLayout;
    QLabel *const noteLabels[] = {Label1, Label3, Label5, Label7, Label9, Label10, Label13, Label14};
    for (int i = 0; i < 8; ++i)
        notes->addWidget(noteLabels[i], i / 2, i % 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Contrib);
    layout->addLayout(people);
    layout->addSpacing(8);
    layout->addLayout(notes);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(Command1, &QPushButton::clicked, this, &frmContributers::Command1_Click);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1400));
    Contrib->setText(GetLangStringQ(1401));
    Contrib1Name->setText(GetLangStringQ(1402) + QLatin1Char(':'));
    Contrib1->setText(GetLangStringQ(1403));
    Contrib2Name->setText(GetLangStringQ(1404) + QLatin1Char(':'));
    Contrib2->setText(GetLangStringQ(1405));
    Contrib4Name->setText(GetLangStringQ(1408) + QLatin1Char(':'));
    Contrib4->setText(GetLangStringQ(1409));
    Command1->setText(GetLangStringQ(1210));
    Label1->setText(GetLangStringQ(5000));
    Label3->setText(GetLangStringQ(5002));
    Label5->setText(GetLangStringQ(5008));
    Label7->setText(GetLangStringQ(5011));
    Label9->setText(GetLangStringQ(1406));
    Label10->setText(GetLangStringQ(5013));
    Label13->setText(GetLangStringQ(5016));
    Label14->setText(GetLangStringQ(5017));

    // The notes wrap, so the box's height depends on its width. Sized here once, it is
    // tall enough for its texts whatever width a small screen would otherwise cut it to.
    const int width = sizeHint().width();
    resize(width, layout->totalHeightForWidth(width));
}

void frmContributers::Command1_Click()
{
    accept();
}
