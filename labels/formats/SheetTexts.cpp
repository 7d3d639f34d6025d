#include "labels/formats/SheetTexts.h"

#include "i18n/LanguageTable.h"

namespace etibarix::labels {
namespace {

QString pick(const char16_t *fr, const char16_t *en, const char16_t *pt)
{
    const int language = i18n::CurrentLanguage();
    return QString::fromUtf16(language == 2 ? en : language == 3 ? pt : fr);
}

} // namespace

QString sheetText(SheetText text)
{
    switch (text) {
    case SheetText::FileNotUsed:
        return pick(u"Les formats personnels du fichier « %1 » ne sont pas utilisés : %2",
                    u"The custom formats of the file \"%1\" are not used: %2",
                    u"Os formatos personalizados do ficheiro \"%1\" não são utilizados: %2");
    case SheetText::FileTooLarge:
        return pick(u"il dépasse %1 Ko", u"it is larger than %1 KB", u"tem mais de %1 KB");
    case SheetText::FileUnreadable:
        return pick(u"il ne peut pas être lu (%1)", u"it cannot be read (%1)", u"não pode ser lido (%1)");
    case SheetText::NotJson:
        return pick(u"ce n'est pas du JSON valide (%1, à l'octet %2)", u"it is not valid JSON (%1, at byte %2)",
                    u"não é JSON válido (%1, no byte %2)");
    case SheetText::NoFormatsList:
        return pick(u"il n'a pas de liste « formats »", u"it has no \"formats\" list", u"não tem a lista \"formats\"");
    case SheetText::TooManyFormats:
        return pick(u"il a plus de %1 formats", u"it holds more than %1 formats", u"tem mais de %1 formatos");
    case SheetText::EntryNotObject:
        return pick(u"le format n° %1 n'est pas un objet", u"format no. %1 is not an object",
                    u"o formato n.º %1 não é um objeto");
    case SheetText::FieldMissing:
        return pick(u"il manque le champ « %2 » au format n° %1", u"format no. %1 lacks the field \"%2\"",
                    u"falta o campo \"%2\" ao formato n.º %1");
    case SheetText::FieldWrongType:
        return pick(u"le champ « %2 » du format n° %1 n'a pas le bon type de valeur",
                    u"the field \"%2\" of format no. %1 has a value of the wrong type",
                    u"o campo \"%2\" do formato n.º %1 tem um valor do tipo errado");
    case SheetText::EntryInvalid:
        return pick(u"format n° %1 « %2 » : %3", u"format no. %1 \"%2\": %3", u"formato n.º %1 \"%2\": %3");
    case SheetText::SaveFailed:
        return pick(u"Le fichier « %1 » n'a pas pu être enregistré : %2", u"The file \"%1\" could not be saved: %2",
                    u"Não foi possível guardar o ficheiro \"%1\": %2");
    case SheetText::DamagedNotKept:
        return pick(u"sa copie de sécurité n'a pas pu être faite", u"its safety copy could not be made",
                    u"não foi possível fazer a cópia de segurança");
    case SheetText::StartLabel:
        return pick(u"Commencer à l'étiquette", u"Start at label", u"Começar na etiqueta");
    case SheetText::ShrinkToFit:
        return pick(u"Réduire les codes trop larges", u"Shrink barcodes that are too wide",
                    u"Reduzir os códigos demasiado largos");
    case SheetText::CalibrateButton:
        return pick(u"Calibrer l'imprimante…", u"Calibrate printer…", u"Calibrar a impressora…");
    case SheetText::NewFormat:
        return pick(u"Nouveau format…", u"New format…", u"Novo formato…");
    case SheetText::EditFormat:
        return pick(u"Modifier le format…", u"Edit format…", u"Editar o formato…");
    case SheetText::DeleteFormat:
        return pick(u"Supprimer le format", u"Delete format", u"Eliminar o formato");
    case SheetText::DeleteQuestion:
        return pick(u"Supprimer le format « %1 » ?", u"Delete the format \"%1\"?", u"Eliminar o formato \"%1\"?");
    case SheetText::CalibrateTitle:
        return pick(u"Calibrer l'imprimante", u"Calibrate printer", u"Calibrar a impressora");
    case SheetText::CalibratePrinter:
        return pick(u"Imprimante : %1", u"Printer: %1", u"Impressora: %1");
    case SheetText::OffsetX:
        return pick(u"Décalage horizontal (vers la droite)", u"Horizontal offset (to the right)",
                    u"Deslocamento horizontal (para a direita)");
    case SheetText::OffsetY:
        return pick(u"Décalage vertical (vers le bas)", u"Vertical offset (downwards)",
                    u"Deslocamento vertical (para baixo)");
    case SheetText::PrintTestSheet:
        return pick(u"Imprimer une feuille de test", u"Print a test sheet", u"Imprimir uma folha de teste");
    case SheetText::CalibrateHint:
        return pick(u"Imprimez la feuille de test sur une feuille d'étiquettes, mesurez de combien la croix de chaque "
                    u"étiquette s'écarte de son centre et entrez le déplacement qui l'y ramène.",
                    u"Print the test sheet on a sheet of labels, measure how far each label's cross lies from its "
                    u"centre and enter the move that brings it back.",
                    u"Imprima a folha de teste numa folha de etiquetas, meça quanto a cruz de cada etiqueta se afasta "
                    u"do seu centro e introduza o deslocamento que a traz de volta.");
    case SheetText::DefaultPrinter:
        return pick(u"(imprimante par défaut)", u"(default printer)", u"(impressora predefinida)");
    case SheetText::FormatTitle:
        return pick(u"Format d'étiquettes", u"Label format", u"Formato de etiquetas");
    case SheetText::Name:
        return pick(u"Nom", u"Name", u"Nome");
    case SheetText::Page:
        return pick(u"Page", u"Page", u"Página");
    case SheetText::PageA4:
        return QStringLiteral("A4");
    case SheetText::PageLetter:
        return pick(u"Lettre US", u"Letter", u"Carta");
    case SheetText::PageCustom:
        return pick(u"Personnalisée", u"Custom", u"Personalizada");
    case SheetText::PageWidth:
        return pick(u"Largeur de la page", u"Page width", u"Largura da página");
    case SheetText::PageHeight:
        return pick(u"Hauteur de la page", u"Page height", u"Altura da página");
    case SheetText::Columns:
        return pick(u"Colonnes", u"Columns", u"Colunas");
    case SheetText::Rows:
        return pick(u"Rangées", u"Rows", u"Linhas");
    case SheetText::LeftMargin:
        return pick(u"Marge gauche", u"Left margin", u"Margem esquerda");
    case SheetText::TopMargin:
        return pick(u"Marge haute", u"Top margin", u"Margem superior");
    case SheetText::LabelWidth:
        return pick(u"Largeur de l'étiquette", u"Label width", u"Largura da etiqueta");
    case SheetText::LabelHeight:
        return pick(u"Hauteur de l'étiquette", u"Label height", u"Altura da etiqueta");
    case SheetText::PitchX:
        return pick(u"Pas horizontal", u"Horizontal pitch", u"Passo horizontal");
    case SheetText::PitchY:
        return pick(u"Pas vertical", u"Vertical pitch", u"Passo vertical");
    case SheetText::BarHeight:
        return pick(u"Hauteur des barres", u"Bar height", u"Altura das barras");
    case SheetText::ReadableLine:
        return pick(u"Ligne lisible sous les barres", u"Readable line under the bars", u"Linha legível sob as barras");
    case SheetText::TextLines:
        return pick(u"Lignes de texte", u"Text lines", u"Linhas de texto");
    case SheetText::FontSize:
        return pick(u"Taille des caractères (points)", u"Font size (points)", u"Tamanho da letra (pontos)");
    case SheetText::FormatValid:
        return pick(u"%1 étiquettes par feuille.", u"%1 labels a sheet.", u"%1 etiquetas por folha.");
    }
    return {};
}

QString sheetProblemText(SheetProblem problem)
{
    using L = SheetFormatLimits;
    switch (problem) {
    case SheetProblem::NameMissing:
        return pick(u"Donnez un nom au format.", u"Give the format a name.", u"Dê um nome ao formato.");
    case SheetProblem::NameTooLong:
        return pick(u"Le nom a plus de %1 caractères.", u"The name is longer than %1 characters.",
                    u"O nome tem mais de %1 caracteres.").arg(L::MaxNameLength);
    case SheetProblem::NameIsNumber:
        return pick(u"Le nom ne peut pas être un nombre.", u"The name cannot be a number.",
                    u"O nome não pode ser um número.");
    case SheetProblem::NameTaken:
        return pick(u"Un autre format porte déjà ce nom.", u"Another format already has this name.",
                    u"Outro formato já tem este nome.");
    case SheetProblem::PageSize:
        return pick(u"Les côtés de la page mesurent de %1 à %2 mm.", u"The page sides must be %1 to %2 mm.",
                    u"Os lados da página medem de %1 a %2 mm.").arg(L::MinPageMm).arg(L::MaxPageMm);
    case SheetProblem::GridSize:
        return pick(u"Il faut au moins une colonne et une rangée.", u"There must be at least one column and one row.",
                    u"É preciso pelo menos uma coluna e uma linha.");
    case SheetProblem::LabelCount:
        return pick(u"Une feuille compte de 1 à %1 étiquettes.", u"A sheet holds 1 to %1 labels.",
                    u"Uma folha tem de 1 a %1 etiquetas.").arg(L::MaxLabels);
    case SheetProblem::Margins:
        return pick(u"Les marges ne peuvent pas être négatives.", u"The margins cannot be negative.",
                    u"As margens não podem ser negativas.");
    case SheetProblem::LabelSize:
        return pick(u"Une étiquette mesure au moins %1 mm de côté et pas plus que la page.",
                    u"A label must be at least %1 mm each way and no larger than the page.",
                    u"Uma etiqueta mede pelo menos %1 mm de cada lado e não mais do que a página.").arg(L::MinLabelMm);
    case SheetProblem::PitchX:
        return pick(u"Le pas horizontal doit valoir au moins la largeur de l'étiquette.",
                    u"The horizontal pitch must be at least the label width.",
                    u"O passo horizontal deve ser pelo menos a largura da etiqueta.");
    case SheetProblem::PitchY:
        return pick(u"Le pas vertical doit valoir au moins la hauteur de l'étiquette.",
                    u"The vertical pitch must be at least the label height.",
                    u"O passo vertical deve ser pelo menos a altura da etiqueta.");
    case SheetProblem::OffPageX:
        return pick(u"La dernière colonne dépasse le bord droit de la page.",
                    u"The last column runs past the right edge of the page.",
                    u"A última coluna passa a margem direita da página.");
    case SheetProblem::OffPageY:
        return pick(u"La dernière rangée dépasse le bas de la page.", u"The last row runs past the bottom of the page.",
                    u"A última linha passa o fundo da página.");
    case SheetProblem::BarHeight:
        return pick(u"La hauteur des barres va de %1 mm à la hauteur de l'étiquette.",
                    u"The bar height must be from %1 mm up to the label height.",
                    u"A altura das barras vai de %1 mm até à altura da etiqueta.").arg(L::MinBarMm);
    case SheetProblem::TextLines:
        return pick(u"Le nombre de lignes de texte est 0, 1 ou 2.", u"The number of text lines is 0, 1 or 2.",
                    u"O número de linhas de texto é 0, 1 ou 2.");
    case SheetProblem::FontSize:
        return pick(u"La taille des caractères va de %1 à %2 points.", u"The font size must be %1 to %2 points.",
                    u"O tamanho da letra vai de %1 a %2 pontos.").arg(L::MinFontPt).arg(L::MaxFontPt);
    }
    return {};
}

} // namespace etibarix::labels
