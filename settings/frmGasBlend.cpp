#include "settings/frmGasBlend.h"

#include "engine/DiveModel.h"
#include "engine/EngineHost.h"
#include "engine/LibraryModule.h"
#include "engine/TemplateModule.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"
#include "platform/ShellServices.h"
#include "platform/UpDown.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A percentage box read as a whole number: the typed number rounded as the "0" format
// rounds (halves away from zero, so 20.6 is 21). None when the box holds no number, or
// one no percentage comes near; the box then keeps its previous value.
std::optional<int16_t> wholePercent(const QLineEdit *box)
{
    const std::string text = box->text().toStdString();
    if (!IsLocaleNumber(text))
        return std::nullopt;
    const float v = LocaleVal(text);
    if (!(std::fabs(v) < 32767.0f))
        return std::nullopt;
    return static_cast<int16_t>(Val(FormatFixed(v, 0)));
}

QString percentText(int16_t v)
{
    return QString::number(v);
}

QLineEdit *percentBox(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaximumWidth(48);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QLabel *fixedLabel(const char *name, const char *text, QWidget *parent)
{
    auto *l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(name);
    return l;
}

} // namespace

frmGasBlend::frmGasBlend(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGasBlend"));
    setModal(true);
    createControls();
    layOut();
    connect(UDO2, &UpDown::UpClick, this, &frmGasBlend::UDO2_UpClick);
    connect(UDO2, &UpDown::DownClick, this, &frmGasBlend::UDO2_DownClick);
    connect(UDHe, &UpDown::UpClick, this, &frmGasBlend::UDHe_UpClick);
    connect(UDHe, &UpDown::DownClick, this, &frmGasBlend::UDHe_DownClick);
    connect(cbOK, &QPushButton::clicked, this, &frmGasBlend::cbOK_Click);
    connect(cbCancel, &QPushButton::clicked, this, &frmGasBlend::cbCancel_Click);
    tbO2->installEventFilter(this);
    tbHe->installEventFilter(this);
    Form_Load();
}

void frmGasBlend::createControls()
{
    setProperty("Tag", "1229");
    lbBlendName = new QLabel(this);
    lbBlendName->setObjectName(QStringLiteral("lbBlendName"));
    lbBlendName->setProperty("Tag", "1228");
    tbBlendName = new QLineEdit(this);
    tbBlendName->setObjectName(QStringLiteral("tbBlendName"));
    tbBlendName->setMinimumWidth(160);

    tbO2 = percentBox("tbO2", this);
    UDO2 = new UpDown(this);
    UDO2->setObjectName(QStringLiteral("UDO2"));
    lbO2 = fixedLabel("lbO2", "%  O2", this);
    tbHe = percentBox("tbHe", this);
    UDHe = new UpDown(this);
    UDHe->setObjectName(QStringLiteral("UDHe"));
    lbHe = fixedLabel("lbHe", "% He", this);
    tbN2 = percentBox("tbN2", this);
    tbN2->setReadOnly(true);
    tbN2->setFocusPolicy(Qt::NoFocus);
    lbN2 = fixedLabel("lbN2", "% N2", this);

    cbOK = new QPushButton(this);
    cbOK->setObjectName(QStringLiteral("cbOK"));
    cbOK->setProperty("Tag", "1210");
    cbOK->setDefault(true);
    cbCancel = new QPushButton(this);
    cbCancel->setObjectName(QStringLiteral("cbCancel"));
    cbCancel->setProperty("Tag", "1215");
}

void frmGasBlend::layOut()
{
    auto *name = new QHBoxLayout;
    name->addWidget(lbBlendName);
    name->addWidget(tbBlendName, 1);

    auto *mix = new QGridLayout;
    mix->addWidget(tbO2, 0, 0);
    mix->addWidget(UDO2, 0, 1);
    mix->addWidget(lbO2, 0, 2);
    mix->addWidget(tbHe, 1, 0);
    mix->addWidget(UDHe, 1, 1);
    mix->addWidget(lbHe, 1, 2);
    mix->addWidget(tbN2, 2, 0);
    mix->addWidget(lbN2, 2, 2);
    mix->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cbOK);
    buttons->addWidget(cbCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(name);
    layout->addLayout(mix);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmGasBlend::Form_Load()
{
    LocaliseForm(this);
    mO2Percent = 100;
    mN2Percent = 0;
    mHePercent = 0;
    showPercentages();
}

void frmGasBlend::SetTemplate(int16_t index)
{
    mDiveNumber = index;
}

void frmGasBlend::showPercentages()
{
    tbO2->setText(percentText(mO2Percent));
    tbN2->setText(percentText(mN2Percent));
    tbHe->setText(percentText(mHePercent));
}

// O2 stays between 1 and 100: a value outside gives way to the rest the other two
// leave, which is the O2 held before. N2 takes up the rest; where there is none left,
// the helium gives way.
void frmGasBlend::updateO2()
{
    int16_t o2 = wholePercent(tbO2).value_or(mO2Percent);
    if (o2 < 1 || o2 > 100) {
        o2 = static_cast<int16_t>(100 - mN2Percent - mHePercent);
    } else {
        mN2Percent = static_cast<int16_t>(100 - o2 - mHePercent);
        if (mN2Percent < 0) {
            mN2Percent = 0;
            mHePercent = static_cast<int16_t>(100 - o2);
        }
    }
    mO2Percent = o2;
    showPercentages();
}

// Helium from 0 to what the oxygen leaves; N2 is the rest.
void frmGasBlend::updateHe()
{
    int16_t he = wholePercent(tbHe).value_or(mHePercent);
    if (he < 0)
        he = 0;
    mN2Percent = static_cast<int16_t>(100 - mO2Percent - he);
    if (mN2Percent < 0) {
        mN2Percent = 0;
        he = static_cast<int16_t>(100 - mO2Percent);
    }
    mHePercent = he;
    showPercentages();
}

void frmGasBlend::UDO2_UpClick()
{
    updateO2(); // a number typed but not yet taken is the one stepped
    tbO2->setText(percentText(static_cast<int16_t>(mO2Percent + 1)));
    updateO2();
}

void frmGasBlend::UDO2_DownClick()
{
    updateO2(); // a number typed but not yet taken is the one stepped
    tbO2->setText(percentText(static_cast<int16_t>(std::max(mO2Percent - 1, 0))));
    updateO2();
}

void frmGasBlend::UDHe_UpClick()
{
    updateHe(); // a number typed but not yet taken is the one stepped
    tbHe->setText(percentText(static_cast<int16_t>(mHePercent + 1)));
    updateHe();
}

void frmGasBlend::UDHe_DownClick()
{
    updateHe(); // a number typed but not yet taken is the one stepped
    tbHe->setText(percentText(static_cast<int16_t>(std::max(mHePercent - 1, 0))));
    updateHe();
}

// A percentage box is taken when the diver leaves it or presses Enter in it; that Enter
// only takes the box and does not end the dialog.
bool frmGasBlend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tbO2 || watched == tbHe) {
        const auto update = [this, watched] {
            if (watched == tbO2)
                updateO2();
            else
                updateHe();
        };
        if (event->type() == QEvent::FocusOut) {
            update();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                update();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmGasBlend::cbOK_Click()
{
    bool done = false;
    RunGuarded("frmGasBlend.cbOK_Click", [this, &done] { done = addGas(); });
    if (done)
        accept();
}

void frmGasBlend::cbCancel_Click()
{
    reject();
}

// False when the name was refused and the dialog stays open.
bool frmGasBlend::addGas()
{
    LocaliseForm(this);
    const QString name = tbBlendName->text();
    if (name.isEmpty()) {
        MsgBox(GetLangStringQ(1230) + "\r\n" + GetLangStringQ(1231), vbExclamation + vbOKOnly, GetLangStringQ(1229));
        tbBlendName->setFocus();
        return false;
    }
    const std::string stored = name.toStdString();
    // The files write "name:O2/N2/He/" and switches "depth:name,": a name they cannot
    // give back would come back as another gas, and its deco switch would lose it.
    if (!IsStorableGasName(stored)) {
        MsgBox(GetLangStringQ(7100), vbExclamation + vbOKOnly, GetLangStringQ(1229));
        tbBlendName->setFocus();
        tbBlendName->selectAll();
        return false;
    }

    SettingsRecord &record = RecordOf(mDiveNumber, "frmGasBlend.cbOK_Click");
    TemplateRec &t = record.Template;
    for (const GasRecord &gas : t.Gases)
        if (gas.Name == stored)
            return true;
    t.Gases.push_back(GasRecord{stored, float(mO2Percent), float(mN2Percent), float(mHePercent), 0});
    mAddedGas = static_cast<int>(t.Gases.size()) - 1;
    t.Changed = true;
    // The new gas is part of the dive as its series file holds it: closing asks to save.
    if (Shell().DiveOpen(mDiveNumber))
        record.ProfileChanged = true;
    return true;
}
