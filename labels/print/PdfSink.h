#pragma once
// Label sheets into one PDF file: every sheet is one page, each page keeps the
// paper size of its layout. The file is written aside and replaces the named
// file only at finish(), so a failed or empty job leaves an older file intact.

#include "labels/print/PainterSurface.h"
#include "labels/print/SheetSink.h"

#include <QPainter>
#include <QSaveFile>

#include <memory>
#include <optional>

class QPdfWriter;

namespace etibarix::labels {

class PdfSink : public SheetSink {
public:
    explicit PdfSink(const QString &path);
    ~PdfSink() override;

    // Completes the file. Returns false, writing nothing, when no sheet was
    // printed. Throws base::Error when the file cannot be written.
    bool finish();
    int pages() const { return m_pages; }

protected:
    int nextPageNumber() const override { return m_pages + 1; }
    PageSurface &doBegin(const SheetSetup &setup) override;
    void doEnd() override;
    void doCancel() override;

private:
    QString m_path;
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    std::optional<PainterSurface> m_surface;
    int m_pages = 0;
    bool m_failed = false;
};

} // namespace etibarix::labels
