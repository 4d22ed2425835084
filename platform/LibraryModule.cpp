#include "platform/LibraryModule.h"

#include "engine/EngineGlobals.h"
#include "platform/TestHooks.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <array>
#include <pwd.h>
#include <unistd.h>

namespace {

std::array<std::string, 2> gLocaleCache; // decimal, thousands; "" = not yet read

std::string cached(int index, int32_t item)
{
    if (gLocaleCache[index].empty())
        gLocaleCache[index] = GetLocaleText(item);
    return gLocaleCache[index];
}

} // namespace

std::string GetLocaleText(int32_t item, const QLocale &locale)
{
    switch (item) {
    case LOCALE_SDECIMAL:
        return locale.decimalPoint().toStdString();
    case LOCALE_STHOUSAND:
        if (locale.language() == QLocale::C)
            return {};
        return locale.groupSeparator().toStdString();
    default:
        return {};
    }
}

std::string GetDecimalSeparator()
{
    return cached(0, LOCALE_SDECIMAL);
}

std::string GetThousandSeparator()
{
    return cached(1, LOCALE_STHOUSAND);
}

void InitLocaleSeparators()
{
    gThousandSeparator = GetThousandSeparator();
    gDecimalSeparator = GetDecimalSeparator();
}

void ResetLocaleCache()
{
    gLocaleCache = {};
}

std::string GetNetUserName()
{
    // getlogin() needs a terminal; the effective user is who runs the program.
    const passwd *pw = getpwuid(geteuid());
    return (pw && pw->pw_name) ? std::string(pw->pw_name) : std::string();
}

void PlaySoundFile(const std::string &path)
{
    const QString file = QString::fromStdString(path);
    if (TestHooks::active()) {
        TestHooks::soundsPlayed << file;
        return;
    }
    if (!QFileInfo(file).isFile())
        return;
    const QString player = QStandardPaths::findExecutable(QStringLiteral("aplay"));
    if (player.isEmpty())
        return;
    QProcess aplay;
    aplay.setProgram(player);
    aplay.setArguments({QStringLiteral("-q"), file});
    // A machine without a sound device makes aplay complain; the user hears nothing either way.
    aplay.setStandardOutputFile(QProcess::nullDevice());
    aplay.setStandardErrorFile(QProcess::nullDevice());
    aplay.startDetached();
}
