#pragma once
// The Qt side of the program's texts (core/text/translation.h): loading the translation of the
// user's language at start, and turning a core text into what a window shows.
#include <QLocale>
#include <QString>
#include <QStringList>

#include <string>

namespace lumora {

// Where lumora_<lang>.qm files are looked for: next to the program (the build tree) and in
// <prefix>/share/lumora/translations beside the installed program.
QStringList translationFolders();

// Loads the first lumora_<lang>.qm for the locale's languages from the folders and installs it
// (for QCoreApplication::translate and for the core's texts). False, and nothing installed, when
// there is none or it holds no translated text.
bool loadTranslation(const QLocale& locale = QLocale(),
                     const QStringList& folders = translationFolders());

// Removes what loadTranslation installed: the texts are English again.
void unloadTranslation();

// A text the core made (or a marked text of the windows), as the user sees it.
QString shownText(const std::string& text);

} // namespace lumora
