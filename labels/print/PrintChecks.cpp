#include "labels/print/PrintChecks.h"

#include "labels/code128/Code128Symbol.h"
#include "labels/print/SheetDrawing.h"
#include "records/RecordRules.h"

#include <algorithm>

namespace etibarix::labels {

namespace {

// The characters of a barcode the symbol leaves out, each once, in order.
QByteArray lostCharacters(const QByteArray &cb)
{
    QByteArray lost;
    qsizetype from = 0;
    while (from < cb.size()) {
        const qsizetype at = records::FirstUnprintableBarcodeByte(QByteArrayView(cb).sliced(from));
        if (at < 0)
            break;
        const char c = cb[from + at];
        if (!lost.contains(c))
            lost += c;
        from += at + 1;
    }
    return lost;
}

} // namespace

SlotSymbols CustomSlotSymbols(const SheetFormat &format, bool fit)
{
    SlotSymbols slots;
    for (int slot = 1; slot <= format.slotCount(); ++slot) {
        const double width = format.labelRect(slot).width();
        slots.push_back(SlotSymbol{NominalModuleMm, true, width, fit ? width - 2 * LabelSideMarginMm : -1});
    }
    return slots;
}

PrintChecks::PrintChecks(SlotSymbols slots, int startSlot, int codeSet)
    : m_slots(std::move(slots)), m_slot(startSlot), m_codeSet(codeSet)
{
}

void PrintChecks::check(const PrintRecord &record)
{
    const int perPage = int(m_slots.size());
    if (perPage == 0 || record.quantite <= 0)
        return;
    if (const QByteArray lost = lostCharacters(record.cb); !lost.isEmpty())
        m_findings.push_back({PrintFinding::LostCharacters, record.num, record.cb, lost, 0, 0});

    // Module counts with and without optimisation, each computed on first need.
    std::optional<int> modules[2];
    const auto modulesOf = [&](bool optimize) {
        std::optional<int> &count = modules[optimize ? 1 : 0];
        if (!count) {
            Code128Symbol symbol;
            symbol.FilterBarText(record.cb);
            symbol.setCodePage(m_codeSet == 2 ? CodePage128::cpCodeB
                               : m_codeSet == 3 ? CodePage128::cpCodeC
                                                : CodePage128::cpCodeA);
            symbol.setOptimize(optimize);
            count = symbol.EncodeSymbol().modules();
        }
        return *count;
    };
    // More copies than slots only repeat slots already measured.
    const int labels = std::min(record.quantite, perPage);
    for (int i = 0; i < labels; ++i) {
        const std::optional<SlotSymbol> &slot = m_slots[(m_slot - 1 + i) % perPage];
        if (!slot)
            continue;
        const int count = modulesOf(slot->optimize);
        double module = slot->moduleMm;
        if (slot->fitRoomMm >= 0) {
            if (const auto fitted = Code128Symbol::FitBarWidth(count, module, slot->fitRoomMm))
                module = *fitted;
        }
        const double width = count * module;
        if (width > slot->labelWidthMm + 1e-9) {
            m_findings.push_back({PrintFinding::TooWide, record.num, record.cb, {}, width, slot->labelWidthMm});
            break;
        }
    }
    m_slot = (m_slot - 1 + record.quantite) % perPage + 1;
}

} // namespace etibarix::labels
