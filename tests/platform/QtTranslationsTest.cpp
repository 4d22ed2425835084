// Qt's own texts follow the language asked for: the message box's buttons and the key
// names beside menu items.

#include "platform/QtTranslations.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeySequence>
#include <QLocale>
#include <QMessageBox>

namespace {

QStringList buttonTexts()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QStringList texts;
    for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        texts << box.button(b)->text().remove(QLatin1Char('&'));
    return texts;
}

QString keyName()
{
    return QKeySequence(Qt::CTRL | Qt::Key_N).toString(QKeySequence::NativeText);
}

class QtTranslationsTest : public ::testing::Test {
protected:
    // Later tests in this process see Qt's own English again.
    void TearDown() override { InstallQtTranslations(QLocale::c()); }
};

} // namespace

TEST_F(QtTranslationsTest, GermanThenEnglishAgain)
{
    ASSERT_TRUE(InstallQtTranslations(QLocale(QLocale::German, QLocale::Germany)))
        << "Qt's German catalogue is missing (qt6-translations-l10n)";
    EXPECT_EQ(buttonTexts(), QStringList({"Ja", "Nein", "Abbrechen"}));
    EXPECT_EQ(keyName(), "Strg+N");

    // A second language replaces the first rather than stacking on it.
    InstallQtTranslations(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(buttonTexts(), QStringList({"Yes", "No", "Cancel"}));
    EXPECT_EQ(keyName(), "Ctrl+N");
}

TEST_F(QtTranslationsTest, ALanguageQtHasNoCatalogueForLeavesEnglish)
{
    ASSERT_TRUE(InstallQtTranslations(QLocale(QLocale::German, QLocale::Germany)));
    EXPECT_FALSE(InstallQtTranslations(QLocale(QLocale::Zulu, QLocale::SouthAfrica)));
    EXPECT_EQ(buttonTexts(), QStringList({"Yes", "No", "Cancel"}));
}
