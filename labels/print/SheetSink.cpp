#include "labels/print/SheetSink.h"

#include "base/Error.h"

#include <QPaintDevice>
#include <QPainter>

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
    if (painter && !m_offset.isNull()) {
        // In device units, so that it moves the page and not only what the
        // surface scales.
        const QPaintDevice *device = painter->device();
        painter->save();
        painter->translate(m_offset.x() * device->logicalDpiX() / 25.4, m_offset.y() * device->logicalDpiY() / 25.4);
        m_painter = painter;
    }
    return painter;
}

void SheetSink::unshift()
{
    if (m_painter && m_painter->isActive())
        m_painter->restore();
    m_painter = nullptr;
}

void SheetSink::endSheet()
{
    if (!m_inSheet)
        return;
    m_inSheet = false;
    unshift();
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
    unshift();
    doCancel();
    if (m_status.end)
        m_status.end();
}

} // namespace etibarix::labels
