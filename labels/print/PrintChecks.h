#pragma once
// What a print job would print other than the records hold, found before its
// first sheet: barcodes with characters Code 128 leaves out of the symbol,
// and symbols wider than the label they go on. One pass over the job's
// records, slot by slot as the job fills them; each barcode is encoded once
// per way the slots encode it.

#include "labels/formats/SheetFormat.h"
#include "labels/print/PrintJobTarget.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace etibarix::labels {

struct PrintFinding {
    enum Kind { LostCharacters, TooWide };
    Kind kind = LostCharacters;
    std::int32_t record = 0;   // the record's number
    QByteArray barcode;        // Windows-1252, as the record holds it
    QByteArray lost;           // LostCharacters: the characters left out, each once
    double symbolMm = 0;       // TooWide: the symbol as printed
    double labelMm = 0;        //          and the label it goes on
};
using PrintFindings = std::vector<PrintFinding>;

// Told the findings of a job before its first sheet: true prints the job,
// false leaves it unstarted.
using PrintCheckHandler = std::function<bool(const PrintFindings &)>;

// A slot's barcode as the job draws it.
struct SlotSymbol {
    double moduleMm = 0;       // the layout's module
    bool optimize = true;      // code sets chosen for the shortest symbol
    double labelWidthMm = 0;
    double fitRoomMm = -1;     // the room a shrunk symbol must fit; below 0 the job does not shrink
};
// Index k - 1 describes slot k; nullopt for a slot that prints no barcode.
using SlotSymbols = std::vector<std::optional<SlotSymbol>>;

// The slots of a custom format: the nominal module, centred between the
// label's side margins when the job shrinks.
SlotSymbols CustomSlotSymbols(const SheetFormat &format, bool fit);

class PrintChecks {
public:
    // The job starts at `startSlot` (1-based) and prints in `codeSet` (1..3).
    PrintChecks(SlotSymbols slots, int startSlot, int codeSet);

    // The job's next record, in print order; its labels take the slots that
    // follow the previous record's.
    void check(const PrintRecord &record);
    const PrintFindings &findings() const { return m_findings; }

private:
    SlotSymbols m_slots;
    int m_slot;
    int m_codeSet;
    PrintFindings m_findings;
};

} // namespace etibarix::labels
