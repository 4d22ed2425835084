#include "platform/WindowSettings.h"

#include "engine/AppPaths.h"
#include "engine/VBConversions.h"
#include "platform/SettingsWriteReport.h"
#include "platform/Twips.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <cmath>

namespace {

QString storePath()
{
    return QString::fromStdString(JoinPath(ConfigDir(), "settings.ini"));
}

} // namespace

QString GetSetting(const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings store(storePath(), QSettings::IniFormat);
    const QVariant v = store.value(section + '/' + key);
    return v.typeId() == QMetaType::QString ? v.toString() : defaultValue;
}

void SaveSetting(const QString &section, const QString &key, const QString &value)
{
    if (!QDir().mkpath(QString::fromStdString(ConfigDir()))) {
        ReportSettingsWriteFailure(storePath());
        return;
    }
    QSettings store(storePath(), QSettings::IniFormat);
    store.setValue(section + '/' + key, value);
    store.sync();
    if (store.status() != QSettings::NoError)
        ReportSettingsWriteFailure(storePath());
}

std::optional<QRect> GetPlacement(const QString &section, const QString &prefix)
{
    // Far beyond any desktop, yet well inside an int once turned into pixels.
    constexpr double kLimitPixels = 1e6;
    int px[4] = {};
    const char *const keys[4] = {"Left", "Top", "Width", "Height"};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> twips =
            WholeNumber(GetSetting(section, prefix + QLatin1String(keys[i])).toStdString());
        if (!twips)
            return std::nullopt;
        const double pixels = std::round(*twips / kTwipsPerPixel);
        // Also false for an infinity or NaN.
        if (!(std::fabs(pixels) < kLimitPixels) || (i >= 2 && pixels < 1))
            return std::nullopt;
        px[i] = static_cast<int>(pixels);
    }
    return QRect(px[0], px[1], px[2], px[3]);
}

QRect PlaceOnScreens(const QRect &kept, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return kept;
    const QRect titleBar(kept.left(), kept.top(), kept.width(), 30);
    for (const QRect &screen : screens)
        if (kept.top() >= screen.top() && screen.intersected(titleBar).width() >= qMin(100, kept.width()))
            return kept;
    QRect home = screens.first();
    qint64 most = 0;
    for (const QRect &screen : screens) {
        const QRect common = screen.intersected(kept);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > most) {
            most = area;
            home = screen;
        }
    }
    const int w = qMin(kept.width(), home.width());
    const int h = qMin(kept.height(), home.height());
    return QRect(qBound(home.left(), kept.left(), home.right() + 1 - w),
                 qBound(home.top(), kept.top(), home.bottom() + 1 - h), w, h);
}

QList<QRect> AvailableScreenAreas()
{
    QList<QRect> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas << primary->availableGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != primary)
            areas << screen->availableGeometry();
    return areas;
}
