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
            if (decoder.isValid())
                return decoder.decode(bytes);
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
