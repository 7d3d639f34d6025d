#pragma once
// Helpers of the print tests: filling a data directory, rendering PDF pages
// and reading barcodes and text back from them.

#include "tests/support/TestSupport.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <vector>

namespace etibarix::test {

// Appends a record to the data directory's table (fails the test on error).
void insertRecord(const DataDir &dir, int num, const QByteArray &cb, const QByteArray &lib1, const QByteArray &lib2,
                  int quantite, const QByteArray &topp = "O");

// Page `page` (1-based) of a PDF rendered at `dpi`; null on failure.
QImage renderPage(const QString &pdf, int page, int dpi, const QString &workDir);

// Number of dark pixels inside a rectangle given in mm.
int darkPixels(const QImage &image, const QRectF &mm, int dpi);

// Cuts every rectangle (mm) out of the page, surrounds it with a quiet zone
// and decodes it; one entry per rectangle, in order ("<none>" when no
// barcode was read, "<several>" when more than one).
QList<QByteArray> decodeRegions(const QImage &image, const std::vector<QRectF> &mm, int dpi, const QString &workDir);

// Every barcode zbarimg reads on the whole page, in its order of reading.
QList<QByteArray> decodePage(const QImage &image, const QString &workDir);

// The text of a PDF (pdftotext).
QString pdfText(const QString &pdf);

} // namespace etibarix::test
