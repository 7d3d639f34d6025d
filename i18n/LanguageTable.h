#pragma once
// LangText: the one way to get a language text. The texts come from the
// language file when it was loaded, whatever the language number says;
// otherwise from the built-in table, in the column of Parameters.Language
// (1 French, 2 English, 3 Portuguese; any other number gives French).
// Nothing is cached: a caller always gets the language current at the time.

#include "i18n/LanguageFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace etibarix::i18n {

// Text number n as single-byte text (Windows-1252 for the built-in texts,
// the file's character set for a language file); empty when there is none.
QByteArray LangText(int n);
// The same, decoded for display (see DecodeLanguageText).
QString LangString(int n);

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
