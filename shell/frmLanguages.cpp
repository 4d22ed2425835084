#include "shell/frmLanguages.h"

#include "engine/AppPaths.h"
#include "engine/ResourceManager.h"
#include "platform/LocaliseForm.h"
#include "platform/RegEditModule.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The window is laid out in twips, 15 to a pixel: each listed language takes 255.
constexpr int kTwipsPerPixel = 15;
int px(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace

frmLanguages::frmLanguages(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLanguages"));
    QString current = GetRegString(QStringLiteral("Language"), QString());
    if (current.isEmpty())
        current = QString::fromLatin1(kDefaultLanguageFile);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    for (int i = 0; i < kOptions; ++i) {
        Option1[i] = new QRadioButton(Frame1);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setGeometry(px(240), px(300 + i * 255), px(3600), px(255));
    }
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    connect(Command1, &QPushButton::clicked, this, &frmLanguages::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmLanguages::Command2_Click);

    LocaliseForm(this);
    setWindowTitle(GetLangStringQ(1038));
    Command1->setText(GetLangStringQ(1210));
    Command2->setText(GetLangStringQ(1215));
    Frame1->setTitle(GetLangStringQ(6172));
    Label1->setText(GetLangStringQ(6173));

    for (QRadioButton *option : Option1)
        option->setVisible(false);
    const QString langFolder = QString::fromStdString(JoinPath(InstallDir(), "lang"));
    const QStringList files =
        QDir(langFolder).entryList({QStringLiteral("DOLV_*.lng")}, QDir::Files | QDir::System, QDir::Name);
    int k = 0;
    for (const QString &file : files) {
        if (k == kOptions)
            break;
        // A language that cannot be read has been reported; the others are still offered.
        const auto name = GetLanguageName(JoinPath(langFolder.toStdString(), file.toStdString()));
        if (!name)
            continue;
        QRadioButton *option = Option1[k];
        option->setVisible(true);
        option->setChecked(file == current);
        option->setText(QString::fromStdString(*name));
        option->setProperty("Tag", file);
        ++k;
    }

    // The frame grows with the list; the buttons and the note go below it.
    Frame1->setGeometry(px(120), px(120), px(4080), px(k * 255 + 400));
    Command1->setGeometry(px(600), px(k * 255 + 600), px(1335), px(375));
    Command2->setGeometry(px(2280), px(k * 255 + 600), px(1335), px(375));
    Label1->setGeometry(px(4440), px(240), px(2520), px(k * 255 + 700));
    setFixedSize(px(7200), px(k * 255 + 1500));
}

void frmLanguages::Command1_Click()
{
    for (QRadioButton *option : Option1) {
        if (option->isChecked()) {
            SetRegString(QStringLiteral("Language"), QString(), option->property("Tag").toString());
            break;
        }
    }
    close();
}

void frmLanguages::Command2_Click()
{
    close();
}
