#include "labels/print/PdfSink.h"

#include "base/Error.h"
#include "i18n/LanguageTable.h"

#include <QPageLayout>
#include <QPdfWriter>

namespace etibarix::labels {

namespace {
// Fine enough for 0.254 mm modules to fall on whole device units (12).
constexpr int PdfResolution = 1200;

QPageLayout fullPage(const QPageSize &size)
{
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter,
                       QMarginsF(0, 0, 0, 0));
}
} // namespace

PdfSink::PdfSink(const QString &path) : m_path(path), m_file(path) {}

PdfSink::~PdfSink()
{
    if (m_painter.isActive())
        m_painter.end();
    m_writer.reset();
    m_file.cancelWriting();
}

PageSurface &PdfSink::doBegin(const SheetSetup &setup)
{
    if (m_failed)
        throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path));
    if (!m_writer) {
        if (!m_file.open(QIODevice::WriteOnly))
            throw base::Error(i18n::LangString(i18n::Text::CannotCreateFile).arg(m_path, m_file.errorString()));
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setResolution(PdfResolution);
        m_writer->setTitle(QStringLiteral("ReportPrinter Report"));
        m_writer->setCreator(QStringLiteral("Etibarix"));
        m_writer->setPageLayout(fullPage(setup.pageSize()));
        if (!m_painter.begin(m_writer.get()))
            throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path));
    } else {
        // The new layout applies to the page that newPage() starts.
        m_writer->setPageLayout(fullPage(setup.pageSize()));
        if (!m_writer->newPage())
            throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path));
    }
    m_painter.save();
    applyOffset(m_painter);
    m_surface.emplace(m_painter);
    return *m_surface;
}

void PdfSink::doEnd()
{
    m_surface.reset();
    m_painter.restore();
    ++m_pages;
}

void PdfSink::doCancel()
{
    // A started PDF page cannot be taken back: the file as a whole is dropped.
    m_surface.reset();
    m_painter.restore();
    m_failed = true;
}

bool PdfSink::finish()
{
    if (!m_writer)
        return false;
    m_painter.end();
    m_writer.reset();
    if (m_failed) {
        m_file.cancelWriting();
        throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path));
    }
    if (!m_file.commit())
        throw base::Error(i18n::LangString(i18n::Text::CannotWriteFile).arg(m_path) + QStringLiteral(": ") + m_file.errorString());
    return m_pages > 0;
}

} // namespace etibarix::labels
