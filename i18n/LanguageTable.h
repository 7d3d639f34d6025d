#pragma once
// LangString: the one way to get a text in the user's language (the names
// are in i18n/Text.h). A numbered text comes from the language file when it
// was loaded, whatever the language number says; otherwise, like every added
// text, from the built-in texts in the column of Parameters.Language
// (1 French, 2 English, 3 Portuguese; any other number gives French).
// Nothing is cached: a caller always gets the language current at the time.

#include "i18n/LanguageFile.h"
#include "i18n/Text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace etibarix::i18n {

// A numbered text as single-byte text (Windows-1252 for the built-in texts,
// the file's character set for a language file); empty when there is none.
// An added text in Windows-1252 (characters without a byte become '?').
QByteArray LangText(Text text);
// The text for display: a numbered text decoded (see DecodeLanguageText).
QString LangString(Text text);

// Decodes language text bytes: through the character set that the loaded
// language file names (a Windows font character-set number), else, and for
// an unknown set, as Windows-1252.
QString DecodeLanguageText(QByteArrayView bytes);

// The language whose built-in column is used: Parameters.Language when it is
// 1, 2 or 3, else 1.
int CurrentLanguage();

// The program's language table. The main window installs it at start and
// clears it when it closes; tests and the CLI do the same.
void InstallLanguageTable(std::unique_ptr<LanguageFile> table);
void ClearLanguageTable();
// The installed table, or nullptr.
const LanguageFile *InstalledLanguageTable();

// DataDir() + "/etibarix.lg".
QString LanguageFilePath();
// Creates a table for LanguageFilePath(), loads it (a missing or unreadable
// file leaves it not Loaded) and installs it; returns it (valid until the
// table is replaced or cleared).
const LanguageFile &LoadLanguageTable();

} // namespace etibarix::i18n
