#pragma once
// The message box of the whole program: the classic button sets, icons and default
// buttons (engine/EngineHost.h) and their answer codes. An empty title shows the
// application's title. Under test the answer comes from TestHooks.

#include "engine/EngineHost.h"

#include <QString>

#include <cstdint>

int32_t MsgBox(const QString &prompt, int32_t buttons = vbOKOnly, const QString &title = QString());
