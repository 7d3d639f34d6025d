#include "base/DataDir.h"
#include "base/Parameters.h"
#include "i18n/AddedTexts.h"
#include "i18n/BuiltinTexts.h"
#include "i18n/LanguageTable.h"
#include "i18n/LanguageFile.h"
#include "i18n/TextFile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace etibarix;
using i18n::LangText;
using i18n::Text;
using i18n::LanguageFile;

namespace {

// A language file in a fresh program directory; the table is installed as
// the program does at start-up and removed again at the end of the test.
class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base::setDataDirOverride(m_dir.path());
        base::Parameters.Clear();
        base::Parameters.Language = 1;
    }
    void TearDown() override
    {
        i18n::ClearLanguageTable();
        base::setDataDirOverride(QString());
        base::Parameters.Clear();
    }
    const LanguageFile &load(const QByteArray &content)
    {
        test::writeFile(i18n::LanguageFilePath(), content);
        return i18n::LoadLanguageTable();
    }
    static QByteArray header(const QByteArray &font = "Arial", const QByteArray &charSet = "0")
    {
        return "Langue;Deutsch\nFont;" + font + "\nCharset;" + charSet + "\n4\n5\n6\n7\n8\n9\n10\n";
    }

    test::DataDir m_dir;
};

} // namespace

TEST(BuiltinTexts, RowsByteForByte)
{
    struct Case {
        int number;
        QByteArray fr, en, pt;
    };
    const Case cases[] = {
        {1, "Charger une sauvegarde", "Load", "Abrir"},
        {3, "", "", ""},
        {5, "Informations sur le logiciel", "Informations about the software", "Informa\xE7\xF5" "es sobre o programa"},
        {10, "Parametres", "Parameters", "Par\xE2metros"},
        {11, "Restreindre l''affichage aux fiches correspondant aux criteres suivants", "Selection criterias",
         "Restringir a amostra das fichas correspondendo aos crit\xE9rios seguintes"},
        {13, "Texte 1 ", "Text 1", "Texto 1"},
        {15, "Critere sur la zone top", "Criteria sur the \"top zone\"", "Crit\xE9rio sobre a zona top"},
        {27, "Crit\xE8re suppl\xE9mentaire", "Printing Criteria ", "Crit\xE9rio suplementar"},
        {31, "Lancer l''impression", "Print the barcod", "Lan\xE7" "ar a impress\xE3o"},
        {44, "Suppression de l article ", "Delete item :", "Supress\xE3o do artigo"},
        {82, "Creation/Modification fiche code barre", "Creation/Modification Barcod ", "Cria\xE7\xE3o/Modifica\xE7\xE3o do c\xF3" "digo de barras"},
        {101, "Le chemin d acces au fichier n est pas precis\xE9", "The file is not selected",
         "O caminho de acesso ao ficheiro n\xE3o foi indicado"},
        {112, "CHPS ", "Field ", "Campos"},
        {136, "L5167 80 etiquettes (4X20) - 4,4cm X 1.2 cm / avec marges", "L5167 80 labels (4X20) - 4,4cmX1.2cm / 1 text",
         "L5167 80 etiquetas (4X20) - 4,4cm X 1.2 cm / 1 textos"},
        {137, "Imprimante", "Printer", "Impressora"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(i18n::BuiltinText(c.number, 1), c.fr) << c.number;
        EXPECT_EQ(i18n::BuiltinText(c.number, 2), c.en) << c.number;
        EXPECT_EQ(i18n::BuiltinText(c.number, 3), c.pt) << c.number;
    }
    EXPECT_EQ(i18n::BuiltinText(0, 1), "");
    EXPECT_EQ(i18n::BuiltinText(138, 1), "");
    EXPECT_EQ(i18n::BuiltinText(1, 4), "");
}

TEST_F(LanguageFileTest, NoFileFollowsTheLanguageNumber)
{
    EXPECT_FALSE(i18n::LoadLanguageTable().Loaded());
    base::Parameters.Language = 2;
    EXPECT_EQ(LangText(Text::Apply), "Confirm");
    base::Parameters.Language = 3;
    EXPECT_EQ(LangText(Text::Apply), "Aplicar");
    EXPECT_EQ(i18n::LangString(Text::ParametersTab), QStringLiteral("Par\u00e2metros"));
    base::Parameters.Language = 1;
    EXPECT_EQ(LangText(Text::Apply), "Appliquer");
    // Only a damaged parameter file brings other numbers: French.
    for (int odd : {0, 4, -1, 0x7FFFFFFF}) {
        base::Parameters.Language = odd;
        EXPECT_EQ(LangText(Text::Apply), "Appliquer") << odd;
    }
    // Without any table installed at all: the built-in texts.
    i18n::ClearLanguageTable();
    EXPECT_EQ(LangText(Text::LoadBackupHint), "Charger une sauvegarde");
}

TEST_F(LanguageFileTest, EntriesStartAtTheEleventhNonBlankLine)
{
    const auto &table = load(header() + "Charger une sauvegarde;Load\n"
                                        "Faire une sauvegarde;\n"
                                        "Reserve;   \t\n"
                                        "Infos; Load\n"
                                        "no separator at all\n"
                                        "a;b;c\n");
    ASSERT_TRUE(table.Loaded());
    for (int language : {1, 2, 3}) {
        base::Parameters.Language = language;
        EXPECT_EQ(LangText(Text::LoadBackupHint), "Load");
    }
    EXPECT_EQ(LangText(Text::SaveBackupHint), "Faire une sauvegarde");   // field 2 empty
    EXPECT_EQ(LangText(Text(3)), "Reserve");                // field 2 only blanks
    EXPECT_EQ(LangText(Text::AboutCaption), " Load");                  // kept with its blank
    EXPECT_EQ(LangText(Text::AboutHint), "no separator at all");
    EXPECT_EQ(LangText(Text::HelpCaption), "b");
    EXPECT_EQ(LangText(Text::HelpHint), "");                       // beyond the file: not the built-in text
    EXPECT_EQ(LangText(Text::Printer), "");
    EXPECT_EQ(table.GetText(301), "Deutsch");
    EXPECT_EQ(table.FontName(), "Arial");
    EXPECT_EQ(table.CharSet(), 0);
}

TEST_F(LanguageFileTest, BlankLinesShiftNothing)
{
    const QByteArray content = "\n  \nLangue;X\n\t\nFont;Tahoma\r\n\r\nCharset;1\n4\n\n5\n6\n7\n  \n8\n9\n10\n\n"
                               "one;One\r\n\r\n \t\ntwo;Two\n\nthree;Three";
    const auto &table = load(content);
    ASSERT_TRUE(table.Loaded());
    EXPECT_EQ(LangText(Text::LoadBackupHint), "One");
    EXPECT_EQ(LangText(Text::SaveBackupHint), "Two");
    EXPECT_EQ(LangText(Text(3)), "Three");
    EXPECT_EQ(table.FontName(), "Tahoma");
    EXPECT_EQ(table.GetText(301), "X");
}

TEST_F(LanguageFileTest, TenLinesGiveEmptyTexts)
{
    const auto &table = load(header());
    EXPECT_TRUE(table.Loaded());
    for (int n = 1; n <= 137; ++n)
        EXPECT_EQ(LangText(Text(n)), "") << n;
}

TEST_F(LanguageFileTest, ShortAndEmptyFiles)
{
    {
        const auto &table = load("Langue;X\nFont;Verdana\n");
        EXPECT_TRUE(table.Loaded());
        EXPECT_EQ(table.FontName(), "Verdana");
        EXPECT_EQ(table.CharSet(), 1);   // an empty field is no number
        EXPECT_EQ(LangText(Text::LoadBackupHint), "");
    }
    {
        const auto &table = load(QByteArray());
        EXPECT_TRUE(table.Loaded());
        EXPECT_EQ(table.FontName(), "");
    }
}

TEST_F(LanguageFileTest, CharacterSetNumber)
{
    struct Case {
        QByteArray field;
        int expected;
    };
    const Case cases[] = {
        {"0", 0}, {"238", 238}, {" 204", 204}, {"-3", -3}, {"+7", 7}, {"abc", 1}, {"12x", 1},
        {"", 1}, {"99999999999", 1}, {"2147483647", 2147483647}, {"-2147483648", std::numeric_limits<int>::min()},
        {"2147483648", 1}, {"$10", 1},
    };
    for (const Case &c : cases) {
        const auto &table = load(header("Arial", c.field));
        EXPECT_EQ(table.CharSet(), c.expected) << c.field.constData();
        EXPECT_EQ(table.GetText(303), QByteArray::number(c.expected));
    }
}

TEST_F(LanguageFileTest, TextsDecodeInTheFilesCharacterSet)
{
    load(header("Arial", "204") + "x;\xCF\xF0\xE8\xED\xF2\xE5\xF0\n");
    EXPECT_EQ(i18n::LangString(Text::LoadBackupHint), QStringLiteral("\u041f\u0440\u0438\u043d\u0442\u0435\u0440"));
    load(header("Arial", "0") + "x;caf\xE9 \x80\n");
    EXPECT_EQ(i18n::LangString(Text::LoadBackupHint), QStringLiteral("caf\u00e9 \u20ac"));
    // The same texts written as UTF-8, with and without the mark.
    load(header("Arial", "204") + "x;\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBD\xD1\x82\xD0\xB5\xD1\x80\n");
    EXPECT_EQ(i18n::LangString(Text::LoadBackupHint), QStringLiteral("\u041f\u0440\u0438\u043d\u0442\u0435\u0440"));
    load("\xEF\xBB\xBF" + header("Arial", "0") + "x;caf\xC3\xA9 \xE2\x82\xAC\n");
    EXPECT_EQ(i18n::LangString(Text::LoadBackupHint), QStringLiteral("caf\u00e9 \u20ac"));
}

TEST_F(LanguageFileTest, EntriesBeyondThreeHundredAreIgnored)
{
    QByteArray content = header();
    for (int i = 1; i <= 350; ++i)
        content += "x;t" + QByteArray::number(i) + "\n";
    const auto &table = load(content);
    EXPECT_TRUE(table.Loaded());
    EXPECT_EQ(table.GetText(300), "t300");
    EXPECT_EQ(table.GetText(301), "Deutsch");
    EXPECT_EQ(LangText(Text(301)), "");
}

TEST_F(LanguageFileTest, BadFilesFallBackToTheBuiltInTexts)
{
    // A directory under the file's name cannot be opened: no file.
    QDir().mkpath(i18n::LanguageFilePath());
    EXPECT_FALSE(i18n::LoadLanguageTable().Loaded());
    EXPECT_EQ(LangText(Text::LoadBackupHint), "Charger une sauvegarde");
    QDir().rmdir(i18n::LanguageFilePath());

    // Garbage still reads as lines; it loads, and nothing crashes.
    QByteArray garbage;
    quint32 x = 7;
    for (int i = 0; i < 100000; ++i) {
        x = x * 1664525u + 1013904223u;
        const char c = static_cast<char>(x >> 24);
        garbage.append(c == '\x1A' ? 'z' : c);
    }
    EXPECT_TRUE(load(garbage).Loaded());
    for (int n = 1; n <= 137; ++n)
        (void)i18n::LangString(Text(n));

    // A table that is not Loaded keeps its header slots but texts come built in.
    LanguageFile table;
    table.SetFileName(m_dir.file(QStringLiteral("nothing.lg")));
    EXPECT_FALSE(table.Load());
    EXPECT_FALSE(table.Loaded());
    EXPECT_EQ(table.GetText(0), "");
    EXPECT_EQ(table.GetText(304), "");
}

TEST_F(LanguageFileTest, TenMegabyteLineAndNulBytes)
{
    const QByteArray big(10 * 1024 * 1024, 'y');
    const auto &table = load(header() + QByteArray("a\0b;c\0d\n", 8) + "x;" + big + "\n");
    ASSERT_TRUE(table.Loaded());
    EXPECT_EQ(LangText(Text::LoadBackupHint), QByteArray("c\0d", 3));
    EXPECT_EQ(LangText(Text::SaveBackupHint).size(), big.size());
}

// The whole built-in table against a separately kept Windows-1252 copy of it.
TEST(BuiltinTexts, EveryCellMatchesTheReferenceCopy)
{
    i18n::TextFile reader;
    reader.SetSeparator('\t');
    reader.Open(test::source(QStringLiteral("tests/data/i18n/builtin-texts.tsv")));
    int rows = 0;
    while (!reader.AtEnd()) {
        ++rows;
        const int number = reader.Field(1).toInt();
        ASSERT_EQ(number, rows);
        for (int language = 1; language <= 3; ++language)
            EXPECT_EQ(i18n::BuiltinText(number, language), reader.Field(language + 1)) << number << '/' << language;
        reader.NextLine();
    }
    EXPECT_EQ(rows, i18n::BuiltinTextCount);
}

// A translator's file: French in field 1, English in field 2, CR LF, blank
// lines, and a Ctrl-Z with junk after it.
TEST_F(LanguageFileTest, AWholeTranslationFile)
{
    ASSERT_TRUE(QFile::copy(test::source(QStringLiteral("tests/data/i18n/english.lg")), i18n::LanguageFilePath()));
    const auto &table = i18n::LoadLanguageTable();
    ASSERT_TRUE(table.Loaded());
    EXPECT_EQ(table.GetText(301), "English");
    EXPECT_EQ(table.FontName(), "Tahoma");
    EXPECT_EQ(table.CharSet(), 0);
    for (int language : {1, 3, 9}) {
        base::Parameters.Language = language;
        for (int n = 1; n <= i18n::BuiltinTextCount; ++n)
            EXPECT_EQ(LangText(Text(n)), i18n::BuiltinText(n, 2)) << n;
    }
    EXPECT_EQ(table.GetText(138), "");
}

// Every added text exists in the three languages with the same placeholders,
// and follows the language number even when a language file is loaded.
TEST_F(LanguageFileTest, AddedTextsInEveryLanguage)
{
    const auto placeholders = [](const QString &text) {
        QList<int> found;
        for (qsizetype i = text.indexOf(u'%'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'%', i + 1))
            if (text.at(i + 1).isDigit())
                found.append(text.at(i + 1).digitValue());
        std::sort(found.begin(), found.end());
        return found;
    };
    // Words that are the same in French or Portuguese as in English.
    const QList<std::pair<Text, int>> sameAsEnglish = {{Text::FormatPage, 1}, {Text::PageA4, 1}, {Text::PageA4, 3}};
    for (int n = int(Text::FirstAdded); n < int(Text::AfterLastAdded); ++n) {
        const QString english = i18n::AddedText(Text(n), 2);
        ASSERT_FALSE(english.isEmpty()) << n;
        for (int language : {1, 3}) {
            const QString other = i18n::AddedText(Text(n), language);
            EXPECT_FALSE(other.isEmpty()) << n;
            if (!sameAsEnglish.contains(std::pair(Text(n), language))) {
                EXPECT_NE(other, english) << n << ' ' << language;
            }
            EXPECT_EQ(placeholders(other), placeholders(english)) << n << ' ' << language;
        }
    }
    load(header() + "x;Load\n");
    base::Parameters.Language = 3;
    EXPECT_EQ(i18n::LangString(Text::PrintPreview), QStringLiteral("Pr\u00e9-visualizar"));
    EXPECT_EQ(LangText(Text::ExportPdf), "Exportar para PDF");
    EXPECT_EQ(LangText(Text::LoadBackupHint), "Load");
    base::Parameters.Language = 2;
    EXPECT_EQ(i18n::LangString(Text::PrintPreview), QStringLiteral("Print preview"));
}
