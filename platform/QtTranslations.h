#pragma once
// Qt's own texts (the message boxes' Yes, No and Cancel, the file dialogs, key names
// such as "Ctrl" beside menu items) in a language: Qt ships them as "qtbase" catalogues
// in its translations folder (on Debian the package qt6-translations-l10n). DOLV's own
// texts come from its language table; these are the ones Qt draws itself.

class QLocale;

// Installs Qt's catalogue for `locale`, taking away the one installed before. False
// when Qt has none for it: its texts are English then.
bool InstallQtTranslations(const QLocale &locale);
