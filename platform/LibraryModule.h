#pragma once
// The shared routines that need the desktop: the locale's separators, the user's name
// and the start sound. The rest of the shared routines are in engine/LibraryModule.h.

#include <QLocale>

#include <cstdint>
#include <string>

// Locale items as the classic locale interface numbers them.
inline constexpr int32_t LOCALE_SDECIMAL = 14;
inline constexpr int32_t LOCALE_STHOUSAND = 15;

// One item of a locale (UTF-8): its decimal or thousands separator. The C locale groups
// no digits, so its thousands separator is "". Another item gives "".
std::string GetLocaleText(int32_t item, const QLocale &locale = QLocale::system());

// The user's separators, read once and kept (an empty one is read again next time).
std::string GetDecimalSeparator();
std::string GetThousandSeparator();
// Sets gThousandSeparator and gDecimalSeparator from the user's locale (at start-up).
void InitLocaleSeparators();
// Forgets the kept separators (tests).
void ResetLocaleCache();

// The name of the user running the program (page footers); "" when it cannot be read.
std::string GetNetUserName();

// Starts playing a wave file and returns at once; nothing happens without the file, a
// player (aplay) or a sound device.
void PlaySoundFile(const std::string &path);
