#include "labels/print/SheetSink.h"

#include "base/Error.h"

namespace etibarix::labels {

QPainter *SheetSink::beginSheet(const SheetRequest &setup)
{
    if (m_inSheet)
        cancel();
    if (m_status.begin && !m_status.begin(nextPageNumber())) {
        if (m_status.end)
            m_status.end();
        return nullptr;
    }
    QPainter *painter = nullptr;
    try {
        painter = doBegin(setup);
    } catch (...) {
        if (m_status.end)
            m_status.end();
        throw;
    }
    m_inSheet = true;
    return painter;
}

void SheetSink::endSheet()
{
    if (!m_inSheet)
        return;
    m_inSheet = false;
    try {
        doEnd();
    } catch (...) {
        if (m_status.end)
            m_status.end();
        throw;
    }
    ++m_sheetsDone;
    if (m_status.end)
        m_status.end();
}

void SheetSink::cancel()
{
    if (!m_inSheet)
        return;
    m_inSheet = false;
    doCancel();
    if (m_status.end)
        m_status.end();
}

} // namespace etibarix::labels
