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

// The code page of a Windows font character-set number; nullptr for the sets
// that are Windows-1252 here (ANSI, default, symbol) and for unknown ones.
const char *codePageOfCharSet(int charSet)
{
    switch (charSet) {
    case 77: return "macintosh";
    case 128: return "Shift_JIS";
    case 129: return "windows-949";
    case 134: return "GBK";
    case 136: return "Big5";
    case 161: return "windows-1253";
    case 162: return "windows-1254";
    case 163: return "windows-1258";
    case 177: return "windows-1255";
    case 178: return "windows-1256";
    case 186: return "windows-1257";
    case 204: return "windows-1251";
    case 222: return "windows-874";
    case 238: return "windows-1250";
    case 255: return "IBM850";
    default: return nullptr;
    }
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
        if (const char *codePage = codePageOfCharSet(table->CharSet())) {
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
