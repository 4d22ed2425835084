#include "shell/frmSplash.h"

#include "engine/AppPaths.h"
#include "platform/LibraryModule.h"
#include "platform/RegEditModule.h"
#include "shell/ImageList.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

bool StartSoundOn()
{
    const QString sound = GetRegString(QStringLiteral("Sound"), QString());
    return sound == QLatin1String("On") || sound.isEmpty();
}

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(ImageList::splashPicture());
    Picture1->adjustSize();
    setFixedSize(Picture1->size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (StartSoundOn())
        PlaySoundFile(JoinPath(InstallDir(), "Dolv.wav"));
}
