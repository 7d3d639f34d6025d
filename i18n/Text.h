#pragma once
// Every text the program shows in the user's language, by name.
//
// The numbered texts (values 1..137, the numbers the language file uses)
// come from the language file when one is loaded, else from the built-in
// table in the current language. The texts added after them (values from
// FirstAdded on) exist only built in, in French, English and Portuguese, and
// always follow the current language. Texts with %1, %2... are filled with
// QString::arg.

namespace etibarix::i18n {

enum class Text : int {
    LoadBackupHint = 1,
    SaveBackupHint = 2,
    AboutCaption = 4,
    AboutHint = 5,
    HelpCaption = 6,
    HelpHint = 7,
    RecordsTab = 8,
    PrintingTab = 9,
    ParametersTab = 10,
    CriteriaGroup = 11,
    BarcodeCriterion = 12,
    Text1Criterion = 13,
    Text2Criterion = 14,
    FlagCriterionGroup = 15,
    Add = 16,
    AddHint = 17,
    ViewModify = 18,
    ViewModifyHint = 19,
    Import = 20,
    ImportHint = 21,
    RefreshHint = 22,
    PrintSettingsGroup = 23,
    LabelFormatCaption = 24,
    PrintText1 = 25,
    PrintText2 = 26,
    PrintSelectionGroup = 27,
    PrintAllRecords = 28,
    PrintMatchingRecords = 29,
    PrintGroup = 30,
    StartPrinting = 31,
    QuitHint = 32,
    VariousOperationsPage = 33,
    Apply = 34,
    ExceptionalOperationGroup = 35,
    ResetAllData = 36,
    ResetQuestion = 37,
    ConfirmationCaption = 38,
    ResetSecondQuestion = 39,
    ResetSecondCaption = 40,
    OperationCancelled = 41,
    SelectBackupFile = 42,
    NameBackupFile = 43,
    DeleteRecordQuestion = 44,
    Barcode = 45,
    Text1 = 46,
    Text2 = 47,
    Quantity = 48,
    Flag = 49,
    ConfirmEntryHint = 50,
    CancelEntry = 51,
    OperationImpossible = 52,
    EntryNotValid = 53,
    RecordDialogCaption = 82,
    ImportFileGroup = 91,
    FieldSeparator = 92,
    HeaderLinesToSkip = 93,
    FirstTenFieldsOnly = 94,
    FilePath = 95,
    OpenFile = 96,
    Previous = 97,
    Next = 98,
    StartImport = 99,
    FieldAssignmentGroup = 100,
    NoFileChosen = 101,
    ImportWizardCaption = 111,
    PreviewColumnStem = 112,
    FieldItemStem = 113,
    NoFieldItem = 114,
    FlaggedRecords = 115,
    UnflaggedRecords = 116,
    AllRecords = 117,
    Delete = 118,
    DeleteHint = 119,
    ToggleFlag = 120,
    FlagColumn = 121,
    QuantityColumn = 122,
    LabelsPrefix = 123,
    Format24Labels = 124,
    Format21Labels = 125,
    Format18Labels = 126,
    Format15Labels = 127,
    Format44Labels = 128,
    Format40Labels = 129,
    FormatViking21Labels = 130,
    ImportedCount = 131,
    ImportFinished = 132,
    Format65Labels = 135,
    Format80Labels = 136,
    Printer = 137,

    FirstAdded = 1000,
    // The print tab's extra commands.
    PrintPreview = FirstAdded,
    ExportPdf,
    ExportPdfTitle,
    PreviewWindowTitle,
    // Refusals of a text before it reaches the table.
    CharacterNotStorable,
    DoubleQuoteNotStorable,
    // The CSV import: options, final notes.
    HeaderLinesNegative,
    FieldNumberOutOfRange,
    NoTableForImport,
    NoTableForDialog,
    NoteOneLine,
    NoteSeveralLines,
    NoteLinesNotStored,
    NoteInnerQuotes,
    NoteTextsCut,
    NoteQuantityNotWhole,
    NoteQuantityOutOfRange,
    NoteNumberOutOfRange,
    NoteTextAfterEndMark,
    NoteLineCounting,
    // Archives, printers and PDF files.
    CannotOpenFile,
    NoPrinter,
    CannotPrintOn,
    CannotDrawSheets,
    CannotWriteFile,
    CannotCreateFile,

    AfterLastAdded
};

inline constexpr int AddedTextCount = int(Text::AfterLastAdded) - int(Text::FirstAdded);

constexpr bool IsNumbered(Text text)
{
    return int(text) < int(Text::FirstAdded);
}

} // namespace etibarix::i18n
