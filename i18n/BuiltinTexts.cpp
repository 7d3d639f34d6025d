#include "i18n/BuiltinTexts.h"

#include <cstdint>
#include <string_view>

namespace etibarix::i18n {
namespace {

constexpr std::size_t CellCapacity = 96;

// One text as Windows-1252 bytes, converted while compiling.
struct Cell {
    char bytes[CellCapacity] = {};
    std::uint8_t size = 0;
};

// The rows below are written in UTF-8 so that they read like the texts they
// hold. Only characters up to U+00FF occur; from U+00A0 up Windows-1252 and
// Latin-1 agree, so each becomes the byte of its code. Anything else (or a
// text too long for a cell) stops the build.
consteval Cell toCp1252(std::string_view utf8)
{
    Cell cell;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned code = lead;
        if (lead >= 0x80) {
            if ((lead & 0xE0) != 0xC0 || i + 1 >= utf8.size())
                throw "character outside Latin-1";
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            if ((next & 0xC0) != 0x80)
                throw "malformed UTF-8";
            code = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
            if (code < 0xA0)
                throw "character without a Windows-1252 byte of the same code";
            i += 2;
        } else {
            ++i;
        }
        if (cell.size >= CellCapacity)
            throw "text too long";
        cell.bytes[cell.size++] = static_cast<char>(code);
    }
    return cell;
}

struct Row {
    consteval Row(int n, std::string_view french, std::string_view english, std::string_view portuguese)
        : number(n), texts{toCp1252(french), toCp1252(english), toCp1252(portuguese)}
    {
    }
    int number;
    Cell texts[LanguageCount];
};

// Texts are exact, trailing blanks and doubled apostrophes included.
// Reserved numbers hold empty texts.
constexpr Row Rows[] = {
//   No. French, English, Portuguese
    {1, "Charger une sauvegarde", "Load", "Abrir"},
    {2, "Faire une sauvegarde", "Save the datas", "Guardar"},
    {3, "", "", ""}, // reserved
    {4, "Infos", "Infos", "Infos"},
    {5, "Informations sur le logiciel", "Informations about the software", "Informações sobre o programa"},
    {6, "Aide", "Help", "Ajuda"},
    {7, "Voir l aide", "View the help file", "Ver o ficheiro de ajuda"},
    {8, "Gestion des fiches", "Datas", "Gestão das fichas"},
    {9, "Impression", "Printing", "Imprimir"},
    {10, "Parametres", "Parameters", "Parâmetros"},
    {11, "Restreindre l''affichage aux fiches correspondant aux criteres suivants", "Selection criterias", "Restringir a amostra das fichas correspondendo aos critérios seguintes"},
    {12, "Code Barre", "Barcod", "Código Barra"},
    {13, "Texte 1 ", "Text 1", "Texto 1"},
    {14, "Texte 2 ", "Text 2", "Texto 2"},
    {15, "Critere sur la zone top", "Criteria sur the \"top zone\"", "Critério sobre a zona top"},
    {16, "Ajouter", "Add", "Adicionar"},
    {17, "Ajouter une fiche code barre", "Add a barcod", "Adicionar um código Barra"},
    {18, "Voir/modifier", "View/Modif", "Ver/Modificar"},
    {19, "Voir/modifier la fiche code barre selectionnée", "View/Modif the selected barcod", "Ver/Modificar o código de barras seleccionado"},
    {20, "Importation", "Import Datas", "Importar"},
    {21, "Importer à partir d''un fichier texte", "Import from textfile", "Importar a partir de um ficheiro de texto"},
    {22, "Réafficher la liste des fiches par rapport aux criteres", "Refresh the list with using the criterias", "Refrescar a lista usando os critérios"},
    {23, "Paramétrage de l''impression", "Printing parameters", "Parametrização da impressão"},
    {24, "Type d''étiquettes", "Labels style", "Tipo de etiquetas"},
    {25, "Imprimer le texte1", "Print Text 1", "Imprimir o texto1"},
    {26, "Imprimer le texte2", "Print Text 2", "Imprimir o texto2"},
    {27, "Critère supplémentaire", "Printing Criteria ", "Critério suplementar"},
    {28, "Imprimer toutes les fiches", "Print all the barcods", "Imprimir todas as fichas"},
    {29, "Imprimer seulement les fiches correspondant aux critères", "Print only the barcods corresponding to the criterias", "Imprimir apenas as fichas correspondendo aos critérios"},
    {30, "Imprimer les codes barres", "Print the barcod", "Imprimir os códigos de barras"},
    {31, "Lancer l''impression", "Print the barcod", "Lançar a impressão"},
    {32, "Quitter le Logiciel", "Quit", "Sair"},
    {33, "Opérations diverses", "Parameters", "Operações diversas"},
    {34, "Appliquer", "Confirm", "Aplicar"},
    {35, "Opérations exceptionnelles", "Special operation", "Operações especiais"},
    {36, "Reinitialiser toutes les données", "Erase all the datas", "Reinicialisar os dados"},
    {37, "Supprimer toutes les données ?", "Erase all the datas", "Suprimir todos os dados?"},
    {38, "Demande de confirmation", "Confirmation", "Confirmação"},
    {39, "Etes vous vraiment sur de vouloir tout supprimer ?", "Are you sure", "Tem a certeza?"},
    {40, "Nouvelle demande de confirmation", "Please confirm again", "Confirme novamente"},
    {41, "Abandon Opération", "Operation cancelled", "Operação abandonada"},
    {42, "Sélectionnez le fichier de sauvegarde", "Select the file", "Seleccione o ficheiro de salvaguarda"},
    {43, "Indiquez le fichier de sauvegarde", "Enter the name of the save file", "Indique o nome do ficheiro de salvaguarda"},
    {44, "Suppression de l article ", "Delete item :", "Supressão do artigo"},
    {45, "Code Barre", "Barcod", "Código de barras"},
    {46, "Texte 1", "Text 1", "Texto 1"},
    {47, "Texte 2", "Text 2", "Texto 2"},
    {48, "Quantité", "Quantity", "Quantidade"},
    {49, "Top à prendre en compte", "Flag", "Top a ter em conta"},
    {50, "Valider la création ou la modification", "Confirm the creation or modification", "Confirmar a criação ou modificação"},
    {51, "Annuler la saisie ou la modification", "Cancel the creation or modification", "cancelar a criação ou modificação"},
    {52, "Opération impossible", "Operation not possible", "Operação impossível"},
    {53, "la saisie n''est pas valide", "Entry not correct", "Entrada incorrecta"},
    {54, "", "", ""}, // reserved
    {55, "", "", ""}, // reserved
    {56, "", "", ""}, // reserved
    {57, "", "", ""}, // reserved
    {58, "", "", ""}, // reserved
    {59, "", "", ""}, // reserved
    {60, "", "", ""}, // reserved
    {61, "", "", ""}, // reserved
    {62, "", "", ""}, // reserved
    {63, "", "", ""}, // reserved
    {64, "", "", ""}, // reserved
    {65, "", "", ""}, // reserved
    {66, "", "", ""}, // reserved
    {67, "", "", ""}, // reserved
    {68, "", "", ""}, // reserved
    {69, "", "", ""}, // reserved
    {70, "", "", ""}, // reserved
    {71, "", "", ""}, // reserved
    {72, "", "", ""}, // reserved
    {73, "", "", ""}, // reserved
    {74, "", "", ""}, // reserved
    {75, "", "", ""}, // reserved
    {76, "", "", ""}, // reserved
    {77, "", "", ""}, // reserved
    {78, "", "", ""}, // reserved
    {79, "", "", ""}, // reserved
    {80, "", "", ""}, // reserved
    {81, "", "", ""}, // reserved
    {82, "Creation/Modification fiche code barre", "Creation/Modification Barcod ", "Criação/Modificação do código de barras"},
    {83, "", "", ""}, // reserved
    {84, "", "", ""}, // reserved
    {85, "", "", ""}, // reserved
    {86, "", "", ""}, // reserved
    {87, "", "", ""}, // reserved
    {88, "", "", ""}, // reserved
    {89, "", "", ""}, // reserved
    {90, "", "", ""}, // reserved
    {91, "Parametre d''importation", "File parameters", "Parâmetros de importação"},
    {92, "Séparateur de champs", "Field separator", "Separador de campos"},
    {93, "Ligne d''entete à ne pas prendre en compte", "Header lines to jump", "Linhas do cabeçalho a não considerar"},
    {94, "Seuls les 10 premiers champs seront pris en compte", "Only the first 10 fields will be manage", "Apenas os 10 primeiros campos serão condiderados"},
    {95, "Chemin d''accès au fichier", "File path", "Caminho de acesso ao ficheiro"},
    {96, "Ouvrir le fichier", "Select file", "Abrir o ficheiro"},
    {97, "Précédent", "Previous", "Anterior"},
    {98, "Suivant", "Next", "Seguinte"},
    {99, "Lancer l''importation", "Import file", "Importar o ficheiro"},
    {100, "Paramétrage des champs", "Fields parameters", "Parametrização dos campos"},
    {101, "Le chemin d acces au fichier n est pas precisé", "The file is not selected", "O caminho de acesso ao ficheiro não foi indicado"},
    {102, "", "", ""}, // reserved
    {103, "", "", ""}, // reserved
    {104, "", "", ""}, // reserved
    {105, "", "", ""}, // reserved
    {106, "", "", ""}, // reserved
    {107, "", "", ""}, // reserved
    {108, "", "", ""}, // reserved
    {109, "", "", ""}, // reserved
    {110, "", "", ""}, // reserved
    {111, "Importation données à partir de fichier csv", "Data importation from csv files", "Importar dados a partir de um ficheiro csv"},
    {112, "CHPS ", "Field ", "Campos"},
    {113, "Champs ", "Field ", "Campos"},
    {114, "Pas de champs", "No field", "No Campos"},
    {115, "Fiches topées", "With Flag", "Fichas topadas"},
    {116, "Fiches non topées", "With Flag off", "Fichas não topadas"},
    {117, "Toutes les fiches", "All the Barcods", "Todas as fichas"},
    {118, "Supprimer", "Delete", "Apagar"},
    {119, "Supprimer la fiche code barre sélectionné", "Delete the current barcod", "Apagar o código de barras seleccionado"},
    {120, "Changer le top", "Change the value of the flag field", "Mudar o top"},
    {121, "Top", "Flag", "Top"},
    {122, "Qtite", "Qtity", "Qdade"},
    {123, "Etiquettes", "Labels", "Etiquetas"},
    {124, "24 etiquettes (3X8) sans espacement", "24 labels (3X8) without space", "24 etiquetas (3X8) sem espaços"},
    {125, "21 etiquettes (3X7) sans espacement", "21 labels (3X7) without space", "21 etiquetas (3X7) sem espaços"},
    {126, "18 etiquettes (3X6) sans espacement", "18 labels (3X6) without space", "18 etiquetas (3X6) sem espaços"},
    {127, "15 etiquettes (3X5) sans espacement", "15 labels (3X5) without space", "15 etiquetas (3X5) sem espaços"},
    {128, "44 etiquettes (4X11) - 5cm X 2.5 cm - sans espacement / 1 texte", "44 labels (4X11) - 5cmX2.5cm - without space / 1 text", "44 etiquetas (4X11) - 5cm X 2.5 cm - sem espaços / 1 texto"},
    {129, "40 etiquettes (4X10) - 4,57cm X 2.54 cm / avec marges", "40 labels (4X10) - 4,57cmX2.54cm / 2 text", "40 etiquetas (4X10) - 4,57cm X 2.54 cm / 2 textos"},
    {130, "VIKING LABELS LA21-100 - 21 etiquettes (3X7) - 6,3cm X 3,8cm", "VIKING LABELS LA21-100 -21 labels (3X7) - 6,3cmX3.8cm", "VIKING LABELS LA21-100 - 21 etiquetas (3X7) - 6,3cm X 3,8cm"},
    {131, "Nombre de fiches importées:", "Number of barcods imported:", "Número dos código de barras importados"},
    {132, "Importation terminée", "End of Import", "Importação terminada"},
    {133, "", "", ""}, // reserved
    {134, "", "", ""}, // reserved
    {135, "L7651 65 etiquettes (5X13) - 3,81cm X 2.12 cm / avec marges", "L7651 65 labels (5X13) - 3,81cmX2.12cm / 2 text", "L7651 65 etiquetas (5X13) - 3,81cm X 2.12 cm / 2 textos"},
    {136, "L5167 80 etiquettes (4X20) - 4,4cm X 1.2 cm / avec marges", "L5167 80 labels (4X20) - 4,4cmX1.2cm / 1 text", "L5167 80 etiquetas (4X20) - 4,4cm X 1.2 cm / 1 textos"},
    {137, "Imprimante", "Printer", "Impressora"},
};

static_assert(std::size(Rows) == BuiltinTextCount);
static_assert([] {
    for (int i = 0; i < BuiltinTextCount; ++i)
        if (Rows[i].number != i + 1)
            return false;
    return true;
}(), "one row per number, in order");

} // namespace

QByteArray BuiltinText(int number, int language)
{
    if (number < 1 || number > BuiltinTextCount || language < 1 || language > LanguageCount)
        return {};
    const Cell &cell = Rows[number - 1].texts[language - 1];
    // The table lives for the whole run: no copy needed.
    return QByteArray::fromRawData(cell.bytes, cell.size);
}

} // namespace etibarix::i18n
