#include "i18n/AddedTexts.h"

#include <iterator>

namespace etibarix::i18n {
namespace {

struct Row {
    Text text;
    const char16_t *french;
    const char16_t *english;
    const char16_t *portuguese;
};

// One row per added text, in the order of the enumeration.
constexpr Row Rows[] = {
    {Text::PrintPreview, u"Aperçu avant impression", u"Print preview", u"Pré-visualizar"},
    {Text::ExportPdf, u"Exporter en PDF", u"Export to PDF", u"Exportar para PDF"},
    {Text::ExportPdfTitle, u"Enregistrer les étiquettes en PDF", u"Save the labels as PDF",
        u"Guardar as etiquetas em PDF"},
    {Text::PreviewWindowTitle, u"Aperçu des étiquettes", u"Label preview", u"Pré-visualização das etiquetas"},

    // %1 the character, %2 the field's label.
    {Text::CharacterNotStorable, u"%2 : le caractère « %1 » ne peut pas être enregistré ; retirez-le.",
        u"%2: the character \u201C%1\u201D cannot be stored; remove it.",
        u"%2: o carácter \u201C%1\u201D não pode ser guardado; retire-o."},
    // %1 the field's label.
    {Text::DoubleQuoteNotStorable, u"%1 : un guillemet (\") ne peut pas être enregistré ; retirez-le.",
        u"%1: a double quote (\") cannot be stored; remove it.",
        u"%1: umas aspas (\") não podem ser guardadas; retire-as."},

    {Text::HeaderLinesNegative, u"Le nombre de lignes d'en-tête ne peut pas être négatif",
        u"The number of header lines cannot be negative", u"O número de linhas de cabeçalho não pode ser negativo"},
    {Text::FieldNumberOutOfRange, u"Un numéro de champ doit être compris entre 1 et %1",
        u"A field number must lie between 1 and %1", u"Um número de campo deve estar entre 1 e %1"},
    {Text::NoTableForImport, u"Aucune table n'est ouverte pour l'importation", u"No table is open for the import",
        u"Nenhuma tabela está aberta para a importação"},
    {Text::NoTableForDialog, u"La fiche n'a pas de table où s'enregistrer", u"The record dialog has no table to write to",
        u"A ficha não tem tabela onde ser guardada"},
    // Where a note applies: %1 the data line; %1 the count and %2 the first.
    {Text::NoteOneLine, u"la ligne de données %1", u"data line %1", u"a linha de dados %1"},
    {Text::NoteSeveralLines, u"%1 lignes de données, la première étant la ligne %2",
        u"%1 data lines, the first being line %2", u"%1 linhas de dados, sendo a primeira a linha %2"},
    // %1 lines refused, %2 lines read, %3 where, %4 the table's reason.
    {Text::NoteLinesNotStored, u"%1 des %2 lignes de données n'ont pas pu être enregistrées (%3) : %4",
        u"%1 of %2 data lines could not be stored (%3): %4",
        u"%1 das %2 linhas de dados não puderam ser guardadas (%3): %4"},
    {Text::NoteInnerQuotes,
        u"Des guillemets à l'intérieur d'un champ ont été retirés dans %1, car une fiche ne peut pas les contenir.",
        u"Double quotes inside a field were removed in %1, since a record cannot hold them.",
        u"Foram retiradas aspas dentro de um campo em %1, pois uma ficha não as pode conter."},
    // %1 barcode width, %2 text width, %3 where.
    {Text::NoteTextsCut,
        u"Un texte plus long que son champ (code barre %1, textes %2 caractères) a été coupé dans %3.",
        u"A text longer than its field (barcode %1, texts %2 characters) was cut in %3.",
        u"Um texto mais longo do que o seu campo (código de barras %1, textos %2 caracteres) foi cortado em %3."},
    {Text::NoteQuantityNotWhole,
        u"La quantité n'était pas un nombre entier dans %1 ; la quantité 1 a été enregistrée.",
        u"The quantity was not a whole number in %1; the quantity 1 was stored.",
        u"A quantidade não era um número inteiro em %1; foi guardada a quantidade 1."},
    // %1 smallest, %2 largest, %3 where.
    {Text::NoteQuantityOutOfRange, u"La quantité sort de %1 à %2 dans %3 ; la table ne peut pas la contenir.",
        u"The quantity lies outside %1 to %2 in %3; the table cannot hold it.",
        u"A quantidade está fora de %1 a %2 em %3; a tabela não a pode conter."},
    {Text::NoteNumberOutOfRange,
        u"Le numéro de fiche a dépassé %1 dans %2 ; la table ne peut pas contenir de tels numéros.",
        u"The record number went beyond %1 in %2; the table cannot hold such numbers.",
        u"O número da ficha ultrapassou %1 em %2; a tabela não pode conter tais números."},
    {Text::NoteTextAfterEndMark,
        u"Le fichier contient une marque de fin de fichier (Ctrl-Z) après la ligne de données %1 ; le texte qui la suit n'a pas été lu.",
        u"The file holds an end-of-file mark (Ctrl-Z) after data line %1; the text after it was not read.",
        u"O ficheiro contém uma marca de fim de ficheiro (Ctrl-Z) depois da linha de dados %1; o texto que se segue não foi lido."},
    {Text::NoteLineCounting,
        u"(Les lignes de données sont comptées à partir de la première ligne après les lignes d'en-tête, sans les lignes vides.)",
        u"(Data lines are counted from the first line after the header lines, blank lines left out.)",
        u"(As linhas de dados são contadas a partir da primeira linha depois das linhas de cabeçalho, sem as linhas vazias.)"},

    {Text::CannotOpenFile, u"Impossible d'ouvrir le fichier \"%1\"", u"Cannot open file \"%1\"",
        u"Não é possível abrir o ficheiro \"%1\""},
    {Text::NoPrinter, u"Aucune imprimante n'est disponible", u"There is no printer to print on",
        u"Não há nenhuma impressora disponível"},
    {Text::CannotPrintOn, u"Impossible d'imprimer sur l'imprimante \"%1\"", u"Could not print on the printer \"%1\"",
        u"Não foi possível imprimir na impressora \"%1\""},
    {Text::CannotDrawSheets, u"Impossible de dessiner les planches d'étiquettes", u"Could not draw the label sheets",
        u"Não foi possível desenhar as folhas de etiquetas"},
    {Text::CannotWriteFile, u"Impossible d'écrire le fichier \"%1\"", u"Could not write the file \"%1\"",
        u"Não foi possível escrever o ficheiro \"%1\""},
    // %1 the file, %2 the system's reason.
    {Text::CannotCreateFile, u"Impossible de créer le fichier \"%1\" : %2", u"Could not create the file \"%1\": %2",
        u"Não foi possível criar o ficheiro \"%1\": %2"},
};

static_assert(std::size(Rows) == AddedTextCount, "one row per added text");
static_assert([] {
    for (int i = 0; i < AddedTextCount; ++i)
        if (int(Rows[i].text) != int(Text::FirstAdded) + i)
            return false;
    return true;
}(), "rows in the order of the enumeration");

} // namespace

QString AddedText(Text text, int language)
{
    const int i = int(text) - int(Text::FirstAdded);
    if (i < 0 || i >= AddedTextCount)
        return {};
    const Row &row = Rows[i];
    const char16_t *chosen = language == 2 ? row.english : language == 3 ? row.portuguese : row.french;
    return QString::fromUtf16(chosen);
}

} // namespace etibarix::i18n
