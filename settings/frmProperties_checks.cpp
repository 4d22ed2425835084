// The checks of the number boxes when the diver leaves them.

#include "settings/frmProperties.h"

#include "engine/EngineGlobals.h"
#include "engine/VBConversions.h"
#include "platform/ErrorModule.h"
#include "platform/LocaliseForm.h"
#include "platform/MsgBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

// A text is kept when it is one number in the user's notation and above 0. Otherwise the
// box gets the default of the shown units (written with the user's decimal separator, so
// "1.4" stays 1.4 under a German locale) and the diver is told. The box comes after the
// focus change has finished: a modal box inside it would take the focus again and start
// a second check.
void frmProperties::checkField(const FieldCheck &check)
{
    const QString typed = check.box->text();
    const bool thousands = holdsThousands(check.box);
    if (IsNumberText(typed, thousands) && TextValue(typed, thousands) > 0)
        return;
    const bool metric = Units == kUnitsMetric;
    const QString shown = QString::fromStdString(
        LocaliseNumberText((metric ? check.metricDefault : check.imperialDefault).toStdString(), gDecimalSeparator));
    check.box->setText(shown);
    const QString message = GetLangStringQ(check.message) + shown + (metric ? check.metricSuffix : check.imperialSuffix);
    QTimer::singleShot(0, this, [message] { MsgBox(message, vbExclamation | vbOKOnly); });
}

// The deco ppO2: a refused text becomes 1.0; the automatic switch depths follow the box
// whether it was refused or not.
void frmProperties::Text7_LostFocus()
{
    RunGuarded("frmProperties.Text7_LostFocus", [this] {
        const QString suffix = QStringLiteral(" ") + (Units == kUnitsMetric ? GetLangStringQ(1220) : GetLangStringQ(1221));
        checkField(FieldCheck{Text7, QStringLiteral("1.0"), QStringLiteral("1.0"), 3048, suffix, suffix});
        if (cbAutoDecoGas->isChecked())
            changeAutoDecoGasFrame(Units == kUnitsMetric, false);
    });
}
