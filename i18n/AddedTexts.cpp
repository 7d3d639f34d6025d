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

    {Text::DoubleQuoteInCriterion, u"%1 : un critère ne peut pas contenir de guillemet (\").",
        u"%1: a criterion cannot hold a double quote (\").", u"%1: um critério não pode conter aspas (\")."},

    // %1 the field's label, %2 the character.
    {Text::BarcodeCharacterNotPrintable,
        u"%1 : le caractère « %2 » ne s'imprime pas dans un code barre Code 128 ; retirez-le.",
        u"%1: the character \u201C%2\u201D cannot be printed in a Code 128 barcode; remove it.",
        u"%1: o carácter \u201C%2\u201D não pode ser impresso num código de barras Code 128; retire-o."},
    // %1 the field's label, %2 the largest quantity.
    {Text::QuantityNotInRange, u"%1 : la quantité doit être un nombre entier de 0 à %2.",
        u"%1: the quantity must be a whole number from 0 to %2.", u"%1: a quantidade deve ser um número inteiro de 0 a %2."},
    // %1 the field's label, %2 its width.
    {Text::TextTooLong, u"%1 : le texte dépasse les %2 caractères du champ.",
        u"%1: the text is longer than the field's %2 characters.", u"%1: o texto ultrapassa os %2 caracteres do campo."},

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
    // %1 where, %2 the first such character.
    {Text::NoteUnprintableBarcode,
        u"Le code barre contenait un caractère qu'un code barre Code 128 n'imprime pas dans %1 (le premier : « %2 ») ; ces lignes n'ont pas été importées.",
        u"The barcode held a character that a Code 128 barcode cannot print in %1 (the first: \u201C%2\u201D); those lines were not imported.",
        u"O código de barras continha um carácter que um código Code 128 não imprime em %1 (o primeiro: \u201C%2\u201D); essas linhas não foram importadas."},
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
    // %1 where, %2 the character.
    {Text::NoteUnstorableCharacter,
        u"Le fichier contenait un caractère que la table ne peut pas enregistrer dans %1 (le premier : « %2 ») ; ces lignes n'ont pas été importées.",
        u"The file held a character that the table cannot store in %1 (the first: \u201C%2\u201D); those lines were not imported.",
        u"O ficheiro continha um carácter que a tabela não pode guardar em %1 (o primeiro: \u201C%2\u201D); essas linhas não foram importadas."},
    {Text::ImportSkippedCount, u"Lignes ignorées, code barre déjà dans la table :",
        u"Lines skipped, barcode already in the table:", u"Linhas ignoradas, código de barras já na tabela:"},
    {Text::ImportEncoding, u"Encodage", u"Encoding", u"Codificação"},
    {Text::EncodingAutomatic, u"Automatique", u"Automatic", u"Automática"},
    {Text::SkipExistingBarcodes, u"Ignorer les lignes dont le code barre est déjà dans la table",
        u"Skip lines whose barcode is already in the table", u"Ignorar as linhas cujo código de barras já está na tabela"},
    // %1 the file's name in double quotes; %2 the system's reason.
    {Text::FileCannotOpenForReading, u"Impossible d'ouvrir le fichier %1 en lecture", u"Could not open the file %1 for reading",
        u"Não foi possível abrir o ficheiro %1 para leitura"},
    {Text::FileReadError, u"Erreur de lecture du fichier %1 : %2", u"Read error while reading file %1: %2",
        u"Erro de leitura do ficheiro %1: %2"},
    {Text::ArchiveCannotRead, u"Impossible de lire l'archive", u"Cannot read archive", u"Não é possível ler o arquivo"},
    {Text::ArchiveInvalidType, u"Type d'archive non valide", u"Invalid archive type", u"Tipo de arquivo inválido"},
    {Text::ArchiveCannotReadFile, u"Impossible de lire le fichier", u"Cannot read file", u"Não é possível ler o ficheiro"},
    {Text::ArchiveCannotWrite, u"Impossible d'écrire dans l'archive", u"Cannot write to archive",
        u"Não é possível escrever no arquivo"},
    {Text::ArchiveCompressionError, u"Erreur de compression", u"Compression error", u"Erro de compressão"},
    // %1 the disk's number.
    {Text::ArchiveInsertDisk, u"Insérez le disque %1 et cliquez sur OK pour continuer.",
        u"Please insert disk %1 and click OK to continue.", u"Insira o disco %1 e clique em OK para continuar."},

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

    {Text::KeyInsert, u"Inser", u"Insert", u"Ins"},
    {Text::KeyDelete, u"Suppr", u"Delete", u"Del"},
    {Text::KeyEnter, u"Entrée", u"Enter", u"Entrada"},
    {Text::RecordCountOne, u"%1 fiche", u"%1 record", u"%1 ficha"},
    {Text::RecordCountMany, u"%1 fiches", u"%1 records", u"%1 fichas"},
    {Text::PrintCancelled, u"L'impression a été annulée.", u"The printing was cancelled.", u"A impressão foi cancelada."},
    {Text::ExportCancelled, u"L'export en PDF a été annulé ; aucun fichier n'a été écrit.",
        u"The PDF export was cancelled; no file was written.",
        u"A exportação para PDF foi cancelada; nenhum ficheiro foi escrito."},
    // %1 the number of sheets, %2 the printer.
    {Text::SheetsSentOne, u"%1 planche envoyée à l'imprimante %2.", u"%1 sheet sent to the printer %2.",
        u"%1 folha enviada para a impressora %2."},
    {Text::SheetsSentMany, u"%1 planches envoyées à l'imprimante %2.", u"%1 sheets sent to the printer %2.",
        u"%1 folhas enviadas para a impressora %2."},
    // %1 the file, %2 the sheets, %3 the labels.
    {Text::PdfWritten, u"Le fichier %1 a été écrit : %2, %3.", u"The file %1 was written: %2, %3.",
        u"O ficheiro %1 foi escrito: %2, %3."},
    {Text::SheetsOne, u"%1 planche", u"%1 sheet", u"%1 folha"},
    {Text::SheetsMany, u"%1 planches", u"%1 sheets", u"%1 folhas"},
    {Text::LabelsOne, u"%1 étiquette", u"%1 label", u"%1 etiqueta"},
    {Text::LabelsMany, u"%1 étiquettes", u"%1 labels", u"%1 etiquetas"},
    {Text::OpenPdfFile, u"Ouvrir le fichier", u"Open the file", u"Abrir o ficheiro"},
    {Text::FormatsFileNotUsed, u"Les formats personnels du fichier « %1 » ne sont pas utilisés : %2",
        u"The custom formats of the file \"%1\" are not used: %2",
        u"Os formatos personalizados do ficheiro \"%1\" não são utilizados: %2"},
    {Text::FormatsFileTooLarge, u"il dépasse %1 Ko",
        u"it is larger than %1 KB",
        u"tem mais de %1 KB"},
    {Text::FormatsFileUnreadable, u"il ne peut pas être lu (%1)",
        u"it cannot be read (%1)",
        u"não pode ser lido (%1)"},
    {Text::FormatsFileNotJson, u"ce n'est pas du JSON valide (%1, à l'octet %2)",
        u"it is not valid JSON (%1, at byte %2)",
        u"não é JSON válido (%1, no byte %2)"},
    {Text::FormatsFileNoList, u"il n'a pas de liste « formats »",
        u"it has no \"formats\" list",
        u"não tem a lista \"formats\""},
    {Text::FormatsFileTooMany, u"il a plus de %1 formats",
        u"it holds more than %1 formats",
        u"tem mais de %1 formatos"},
    {Text::FormatsEntryNotObject, u"le format n° %1 n'est pas un objet",
        u"format no. %1 is not an object",
        u"o formato n.º %1 não é um objeto"},
    {Text::FormatsFieldMissing, u"il manque le champ « %2 » au format n° %1",
        u"format no. %1 lacks the field \"%2\"",
        u"falta o campo \"%2\" ao formato n.º %1"},
    {Text::FormatsFieldWrongType, u"le champ « %2 » du format n° %1 n'a pas le bon type de valeur",
        u"the field \"%2\" of format no. %1 has a value of the wrong type",
        u"o campo \"%2\" do formato n.º %1 tem um valor do tipo errado"},
    {Text::FormatsEntryInvalid, u"format n° %1 « %2 » : %3",
        u"format no. %1 \"%2\": %3",
        u"formato n.º %1 \"%2\": %3"},
    {Text::FormatsFileNotSaved, u"Le fichier « %1 » n'a pas pu être enregistré : %2",
        u"The file \"%1\" could not be saved: %2",
        u"Não foi possível guardar o ficheiro \"%1\": %2"},
    {Text::FormatsDamagedNotKept, u"sa copie de sécurité n'a pas pu être faite",
        u"its safety copy could not be made",
        u"não foi possível fazer a cópia de segurança"},
    {Text::StartAtLabel, u"Commencer à l'étiquette",
        u"Start at label",
        u"Começar na etiqueta"},
    {Text::ShrinkToFit, u"Réduire les codes trop larges",
        u"Shrink barcodes that are too wide",
        u"Reduzir os códigos demasiado largos"},
    {Text::CalibratePrinterButton, u"Calibrer l'imprimante…",
        u"Calibrate printer…",
        u"Calibrar a impressora…"},
    {Text::NewFormat, u"Nouveau format…",
        u"New format…",
        u"Novo formato…"},
    {Text::EditFormat, u"Modifier le format…",
        u"Edit format…",
        u"Editar o formato…"},
    {Text::DeleteFormat, u"Supprimer le format",
        u"Delete format",
        u"Eliminar o formato"},
    {Text::DeleteFormatQuestion, u"Supprimer le format « %1 » ?",
        u"Delete the format \"%1\"?",
        u"Eliminar o formato \"%1\"?"},
    {Text::CalibratePrinterTitle, u"Calibrer l'imprimante",
        u"Calibrate printer",
        u"Calibrar a impressora"},
    {Text::CalibrationPrinter, u"Imprimante : %1",
        u"Printer: %1",
        u"Impressora: %1"},
    {Text::HorizontalOffset, u"Décalage horizontal (vers la droite)",
        u"Horizontal offset (to the right)",
        u"Deslocamento horizontal (para a direita)"},
    {Text::VerticalOffset, u"Décalage vertical (vers le bas)",
        u"Vertical offset (downwards)",
        u"Deslocamento vertical (para baixo)"},
    {Text::PrintTestSheet, u"Imprimer une feuille de test",
        u"Print a test sheet",
        u"Imprimir uma folha de teste"},
    {Text::CalibrationHint, u"Imprimez la feuille de test sur une feuille d'étiquettes, mesurez de combien la croix de chaque "
                    u"étiquette s'écarte de son centre et entrez le déplacement qui l'y ramène.",
        u"Print the test sheet on a sheet of labels, measure how far each label's cross lies from its "
                    u"centre and enter the move that brings it back.",
        u"Imprima a folha de teste numa folha de etiquetas, meça quanto a cruz de cada etiqueta se afasta "
                    u"do seu centro e introduza o deslocamento que a traz de volta."},
    {Text::DefaultPrinterName, u"(imprimante par défaut)",
        u"(default printer)",
        u"(impressora predefinida)"},
    {Text::FormatDialogTitle, u"Format d'étiquettes",
        u"Label format",
        u"Formato de etiquetas"},
    {Text::FormatName, u"Nom",
        u"Name",
        u"Nome"},
    {Text::FormatPage, u"Page",
        u"Page",
        u"Página"},
    {Text::PageA4, u"A4",
        u"A4",
        u"A4"},
    {Text::PageLetter, u"Lettre US",
        u"Letter",
        u"Carta"},
    {Text::PageCustom, u"Personnalisée",
        u"Custom",
        u"Personalizada"},
    {Text::PageWidth, u"Largeur de la page",
        u"Page width",
        u"Largura da página"},
    {Text::PageHeight, u"Hauteur de la page",
        u"Page height",
        u"Altura da página"},
    {Text::FormatColumns, u"Colonnes",
        u"Columns",
        u"Colunas"},
    {Text::FormatRows, u"Rangées",
        u"Rows",
        u"Linhas"},
    {Text::FormatLeftMargin, u"Marge gauche",
        u"Left margin",
        u"Margem esquerda"},
    {Text::FormatTopMargin, u"Marge haute",
        u"Top margin",
        u"Margem superior"},
    {Text::FormatLabelWidth, u"Largeur de l'étiquette",
        u"Label width",
        u"Largura da etiqueta"},
    {Text::FormatLabelHeight, u"Hauteur de l'étiquette",
        u"Label height",
        u"Altura da etiqueta"},
    {Text::FormatPitchX, u"Pas horizontal",
        u"Horizontal pitch",
        u"Passo horizontal"},
    {Text::FormatPitchY, u"Pas vertical",
        u"Vertical pitch",
        u"Passo vertical"},
    {Text::FormatBarHeight, u"Hauteur des barres",
        u"Bar height",
        u"Altura das barras"},
    {Text::FormatReadableLine, u"Ligne lisible sous les barres",
        u"Readable line under the bars",
        u"Linha legível sob as barras"},
    {Text::FormatTextLines, u"Lignes de texte",
        u"Text lines",
        u"Linhas de texto"},
    {Text::FormatFontSize, u"Taille des caractères (points)",
        u"Font size (points)",
        u"Tamanho da letra (pontos)"},
    {Text::FormatValidLabels, u"%1 étiquettes par feuille.",
        u"%1 labels a sheet.",
        u"%1 etiquetas por folha."},
    {Text::FormatNameMissing, u"Donnez un nom au format.",
        u"Give the format a name.",
        u"Dê um nome ao formato."},
    {Text::FormatNameTooLong, u"Le nom a plus de %1 caractères.",
        u"The name is longer than %1 characters.",
        u"O nome tem mais de %1 caracteres."},
    {Text::FormatNameIsNumber, u"Le nom ne peut pas être un nombre.",
        u"The name cannot be a number.",
        u"O nome não pode ser um número."},
    {Text::FormatNameTaken, u"Un autre format porte déjà ce nom.",
        u"Another format already has this name.",
        u"Outro formato já tem este nome."},
    {Text::FormatPageSizeRange, u"Les côtés de la page mesurent de %1 à %2 mm.",
        u"The page sides must be %1 to %2 mm.",
        u"Os lados da página medem de %1 a %2 mm."},
    {Text::FormatGridEmpty, u"Il faut au moins une colonne et une rangée.",
        u"There must be at least one column and one row.",
        u"É preciso pelo menos uma coluna e uma linha."},
    {Text::FormatLabelCountRange, u"Une feuille compte de 1 à %1 étiquettes.",
        u"A sheet holds 1 to %1 labels.",
        u"Uma folha tem de 1 a %1 etiquetas."},
    {Text::FormatMarginsNegative, u"Les marges ne peuvent pas être négatives.",
        u"The margins cannot be negative.",
        u"As margens não podem ser negativas."},
    {Text::FormatLabelSizeRange, u"Une étiquette mesure au moins %1 mm de côté et pas plus que la page.",
        u"A label must be at least %1 mm each way and no larger than the page.",
        u"Uma etiqueta mede pelo menos %1 mm de cada lado e não mais do que a página."},
    {Text::FormatPitchXTooSmall, u"Le pas horizontal doit valoir au moins la largeur de l'étiquette.",
        u"The horizontal pitch must be at least the label width.",
        u"O passo horizontal deve ser pelo menos a largura da etiqueta."},
    {Text::FormatPitchYTooSmall, u"Le pas vertical doit valoir au moins la hauteur de l'étiquette.",
        u"The vertical pitch must be at least the label height.",
        u"O passo vertical deve ser pelo menos a altura da etiqueta."},
    {Text::FormatOffPageRight, u"La dernière colonne dépasse le bord droit de la page.",
        u"The last column runs past the right edge of the page.",
        u"A última coluna passa a margem direita da página."},
    {Text::FormatOffPageBottom, u"La dernière rangée dépasse le bas de la page.",
        u"The last row runs past the bottom of the page.",
        u"A última linha passa o fundo da página."},
    {Text::FormatBarHeightRange, u"La hauteur des barres va de %1 mm à la hauteur de l'étiquette.",
        u"The bar height must be from %1 mm up to the label height.",
        u"A altura das barras vai de %1 mm até à altura da etiqueta."},
    {Text::FormatTextLinesRange, u"Le nombre de lignes de texte est 0, 1 ou 2.",
        u"The number of text lines is 0, 1 or 2.",
        u"O número de linhas de texto é 0, 1 ou 2."},
    {Text::FormatFontSizeRange, u"La taille des caractères va de %1 à %2 points.",
        u"The font size must be %1 to %2 points.",
        u"O tamanho da letra vai de %1 a %2 pontos."},
    // Before a print job: barcodes that will not print as the records hold them.
    {Text::PrintLostCharactersIntro,
        u"Ces codes barres contiennent des caractères que le Code 128 ne peut pas imprimer ; ils seront omis des symboles :",
        u"These barcodes hold characters that Code 128 cannot print; they will be left out of the symbols:",
        u"Estes códigos de barras contêm caracteres que o Code 128 não pode imprimir; serão omitidos dos símbolos:"},
    // %1 the record number, %2 its barcode, %3 the characters left out.
    {Text::PrintLostCharactersLine, u"Fiche %1 : « %2 » perd « %3 »", u"Record %1: \u201C%2\u201D loses \u201C%3\u201D",
        u"Ficha %1: \u201C%2\u201D perde \u201C%3\u201D"},
    // %1 the label format.
    {Text::PrintTooWideIntro,
        u"Ces codes barres sont plus larges que les étiquettes du format « %1 » : ils déborderont sur les étiquettes "
        u"voisines et ne pourront pas être lus :",
        u"These barcodes are wider than the labels of the format \u201C%1\u201D: they will run over the next labels "
        u"and cannot be scanned:",
        u"Estes códigos de barras são mais largos do que as etiquetas do formato \u201C%1\u201D: vão sobrepor-se às "
        u"etiquetas vizinhas e não poderão ser lidos:"},
    // %1 the record number, %2 its barcode, %3 the symbol's width, %4 the label's.
    {Text::PrintTooWideLine, u"Fiche %1 : « %2 » mesure %3 mm, l'étiquette %4 mm",
        u"Record %1: \u201C%2\u201D is %3 mm wide, the label %4 mm",
        u"Ficha %1: \u201C%2\u201D mede %3 mm, a etiqueta %4 mm"},
    {Text::PrintMoreOne, u"… et une autre fiche.", u"… and one more record.", u"… e mais uma ficha."},
    {Text::PrintMoreMany, u"… et %1 autres fiches.", u"… and %1 more records.", u"… e mais %1 fichas."},
    {Text::PrintAnyway, u"Imprimer quand même ?", u"Print anyway?", u"Imprimir mesmo assim?"},

    {Text::HelpMessageCaption, u"Aide", u"Help", u"Ajuda"},
    // %1 the help files' paths, one a line.
    {Text::HelpNotOpened, u"L'aide n'a pas pu être ouverte : aucun programme du bureau ne l'affiche.\nElle se trouve ici :\n%1",
        u"The help could not be opened: no program of the desktop shows it.\nIt is here:\n%1",
        u"Não foi possível abrir a ajuda: nenhum programa do ambiente de trabalho a mostra.\nEncontra-se aqui:\n%1"},
    // %1 the folders looked in, one a line.
    {Text::HelpNotFound, u"L'aide est introuvable. Elle est cherchée dans :\n%1", u"The help was not found. It is looked for in:\n%1",
        u"A ajuda não foi encontrada. É procurada em:\n%1"},
    // %1 the folder.
    {Text::DataFolderMissing, u"Le dossier de données « %1 » n'existe pas.", u"The data folder \"%1\" does not exist.",
        u"A pasta de dados \"%1\" não existe."},
    {Text::DataFolderNotCreated, u"Le dossier de données « %1 » n'a pas pu être créé.",
        u"The data folder \"%1\" could not be created.", u"Não foi possível criar a pasta de dados \"%1\"."},
    // %1 the file.
    {Text::SettingsFileDamaged, u"Le fichier « %1 » est endommagé ; il n'a pas été modifié. Corrigez-le ou supprimez-le.",
        u"The file \"%1\" is damaged and was left unchanged; correct or delete it.",
        u"O ficheiro \"%1\" está danificado e não foi alterado; corrija-o ou apague-o."},
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

QString GroupedNumber(int number, int language)
{
    // A no-break space keeps "2 000" on one line.
    const QChar separator = language == 2 ? QChar(u',') : QChar(0x00A0);
    QString digits = QString::number(qAbs(qint64(number)));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, separator);
    return number < 0 ? u'-' + digits : digits;
}

} // namespace etibarix::i18n
