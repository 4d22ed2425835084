// The locale's separators as LocaleVal uses them.

#include "engine/EngineGlobals.h"
#include "engine/LibraryModule.h"
#include "platform/LibraryModule.h"

#include <gtest/gtest.h>

namespace {

TEST(LocaleText, SeparatorsOfGermanEnglishAndTheCLocale)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(GetLocaleText(LOCALE_SDECIMAL, german), ",");
    EXPECT_EQ(GetLocaleText(LOCALE_STHOUSAND, german), ".");
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(GetLocaleText(LOCALE_SDECIMAL, english), ".");
    EXPECT_EQ(GetLocaleText(LOCALE_STHOUSAND, english), ",");
    EXPECT_EQ(GetLocaleText(LOCALE_SDECIMAL, QLocale::c()), ".");
    EXPECT_EQ(GetLocaleText(LOCALE_STHOUSAND, QLocale::c()), ""); // groups no digits
    EXPECT_EQ(GetLocaleText(99, german), "");
    // A French thousands separator is a space character of several bytes.
    const std::string french = GetLocaleText(LOCALE_STHOUSAND, QLocale(QLocale::French, QLocale::France));
    EXPECT_GT(french.size(), 1u);
}

TEST(LocaleText, LocaleValWithTheSeparatorsOfALocale)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    gDecimalSeparator = GetLocaleText(LOCALE_SDECIMAL, german);
    gThousandSeparator = GetLocaleText(LOCALE_STHOUSAND, german);
    EXPECT_FLOAT_EQ(LocaleVal("1.234,5", true), 1234.5f);
    gDecimalSeparator = GetLocaleText(LOCALE_SDECIMAL, QLocale::c());
    gThousandSeparator = GetLocaleText(LOCALE_STHOUSAND, QLocale::c());
    EXPECT_FLOAT_EQ(LocaleVal("1234.5"), 1234.5f);
    const QLocale french(QLocale::French, QLocale::France);
    gDecimalSeparator = GetLocaleText(LOCALE_SDECIMAL, french);
    gThousandSeparator = GetLocaleText(LOCALE_STHOUSAND, french);
    EXPECT_FLOAT_EQ(LocaleVal(french.toString(1234.5, 'f', 1).toStdString(), true), 1234.5f);
    ResetEngineGlobals();
}

TEST(LocaleText, StartUpTakesTheUsersSeparators)
{
    ResetLocaleCache();
    gDecimalSeparator = "?";
    gThousandSeparator = "?";
    InitLocaleSeparators();
    EXPECT_EQ(gDecimalSeparator, QLocale::system().decimalPoint().toStdString());
    EXPECT_EQ(gThousandSeparator, GetLocaleText(LOCALE_STHOUSAND));
    ResetEngineGlobals();
}

} // namespace
