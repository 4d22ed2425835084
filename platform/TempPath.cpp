#include "platform/TempPath.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

std::string GetTempPath()
{
    // QTemporaryDir makes a fresh folder only its owner may enter, so no other user can
    // read or replace the spool file.
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir || !dir->isValid() || !QDir(dir->path()).exists())
        dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/DOLV-XXXXXX"));
    return dir->isValid() ? dir->path().toStdString() : QDir::tempPath().toStdString();
}
