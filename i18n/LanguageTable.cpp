#include "i18n/LanguageTable.h"

#include "base/DataDir.h"
#include "base/Cp1252.h"
#include "base/Parameters.h"
#include "i18n/AddedTexts.h"
#include "i18n/BuiltinTexts.h"

#include <QStringDecoder>

namespace etibarix::i18n {
namespace {

std::unique_ptr<LanguageFile> &installed()
{
    static std::unique_ptr<LanguageFile> table;
    return table;
}

const LanguageFile *loadedTable()
{
    const LanguageFile *table = installed().get();
    return table && table->Loaded() ? table : nullptr;
}

} // namespace

int CurrentLanguage()
{
    const int language = base::Parameters.Language;
    return language >= 1 && language <= LanguageCount ? language : 1;
}

QByteArray LangText(Text text)
{
    if (!IsNumbered(text))
        return base::toCp1252Lossy(AddedText(text, CurrentLanguage()));
    const int n = int(text);
    if (const LanguageFile *table = loadedTable())
        return n >= 1 && n <= LanguageFile::EntrySlots ? table->GetText(n) : QByteArray();
    return BuiltinText(n, CurrentLanguage());
}

QString LangString(Text text)
{
    if (!IsNumbered(text))
        return AddedText(text, CurrentLanguage());
    return DecodeLanguageText(LangText(text));
}

QString DecodeLanguageText(QByteArrayView bytes)
{
    if (const LanguageFile *table = loadedTable()) {
        if (const char *codePage = LanguageFile::CodePageOfCharSet(table->CharSet())) {
            QStringDecoder decoder(codePage);
            if (decoder.isValid()) {
                // A lead byte at the very end would wait for its second byte
                // and vanish, taking a one-byte text with it: an end of line
                // closes the text (it then shows as a replacement character)
                // and is taken off again.
                QString text = decoder.decode(bytes.toByteArray() + '\n');
                if (text.endsWith(u'\n'))
                    text.chop(1);
                return text;
            }
        }
    }
    return base::fromCp1252(bytes);
}

void InstallLanguageTable(std::unique_ptr<LanguageFile> table)
{
    installed() = std::move(table);
}

void ClearLanguageTable()
{
    installed().reset();
}

const LanguageFile *InstalledLanguageTable()
{
    return installed().get();
}

QString LanguageFilePath()
{
    return base::DataDir() + QStringLiteral("/etibarix.lg");
}

const LanguageFile &LoadLanguageTable()
{
    auto table = std::make_unique<LanguageFile>();
    table->SetFileName(LanguageFilePath());
    table->Load();
    const LanguageFile &result = *table;
    InstallLanguageTable(std::move(table));
    return result;
}

} // namespace etibarix::i18n
