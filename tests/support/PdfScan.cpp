#include "tests/support/PdfScan.h"

#include "records/RecordDatabase.h"
#include "base/DataDir.h"
#include "base/Error.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace etibarix::test {

namespace {
QRect toPixels(const QRectF &mm, int dpi)
{
    const double f = dpi / 25.4;
    return QRectF(mm.x() * f, mm.y() * f, mm.width() * f, mm.height() * f).toAlignedRect();
}
} // namespace

void insertRecord(const DataDir &dir, int num, const QByteArray &cb, const QByteArray &lib1, const QByteArray &lib2,
                  int quantite, const QByteArray &topp)
{
    const QByteArray statement = "INSERT INTO article (num,cb,lib1,lib2,quantite,topp) VALUES (" + QByteArray::number(num)
        + ",\"" + cb + "\",\"" + lib1 + "\", \"" + lib2 + "\", " + QByteArray::number(quantite) + ", \"" + topp + "\" )";
    base::setDataDirOverride(dir.path());
    try {
        records::RecordDatabase data;
        data.commandQuery().setSql(statement);
        data.commandQuery().execSql();
        data.table().close();
    } catch (const base::Error &e) {
        ADD_FAILURE() << e.what();
    }
    base::setDataDirOverride({});
}

QImage renderPage(const QString &pdf, int page, int dpi, const QString &workDir)
{
    const QString base = workDir + QStringLiteral("page");
    const CliResult r = runTool(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-png"),
                                 QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                                 QStringLiteral("-singlefile"), pdf, base});
    if (r.exitCode != 0)
        return {};
    QImage image(base + QStringLiteral(".png"));
    QFile::remove(base + QStringLiteral(".png"));
    return image.convertToFormat(QImage::Format_Grayscale8);
}

int darkPixels(const QImage &image, const QRectF &mm, int dpi)
{
    const QRect r = toPixels(mm, dpi).intersected(image.rect());
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = r.left(); x <= r.right(); ++x)
            dark += line[x] < 128 ? 1 : 0;
    }
    return dark;
}

QList<QByteArray> decodePage(const QImage &image, const QString &workDir)
{
    const QString file = workDir + QStringLiteral("whole.png");
    if (!image.save(file))
        return {};
    const CliResult r = runTool(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), file}, 120000);
    QList<QByteArray> found = r.out.split('\n');
    found.removeAll(QByteArray());
    return found;
}

QList<QByteArray> decodeRegions(const QImage &image, const std::vector<QRectF> &mm, int dpi, const QString &workDir)
{
    QStringList files;
    const int quiet = dpi / 5;   // about 5 mm of white around each cut-out
    for (std::size_t i = 0; i < mm.size(); ++i) {
        const QRect r = toPixels(mm[i], dpi).intersected(image.rect());
        QImage cut(r.width() + 2 * quiet, r.height() + 2 * quiet, QImage::Format_Grayscale8);
        cut.fill(255);
        QPainter p(&cut);
        p.drawImage(quiet, quiet, image, r.x(), r.y(), r.width(), r.height());
        p.end();
        const QString file = workDir + QStringLiteral("cut%1.png").arg(i);
        cut.save(file);
        files << file;
    }
    QList<QByteArray> result(qsizetype(mm.size()), QByteArray("<none>"));
    if (files.isEmpty())
        return result;
    QStringList args{QStringLiteral("--xml"), QStringLiteral("-q"), QStringLiteral("--nodbus")};
    args += files;
    const CliResult r = runTool(QStringLiteral("zbarimg"), args, 120000);
    // <source href='FILE'> ... <data><![CDATA[TEXT]]></data> ... </source>
    static const QRegularExpression source(QStringLiteral("<source href='([^']*)'>(.*?)</source>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression data(QStringLiteral("<data><!\\[CDATA\\[(.*?)\\]\\]></data>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto it = source.globalMatch(QString::fromUtf8(r.out)); it.hasNext();) {
        const auto m = it.next();
        const qsizetype index = files.indexOf(m.captured(1));
        if (index < 0)
            continue;
        QList<QByteArray> found;
        for (auto d = data.globalMatch(m.captured(2)); d.hasNext();)
            found << d.next().captured(1).toUtf8();
        result[index] = found.size() == 1 ? found.first() : QByteArray(found.isEmpty() ? "<none>" : "<several>");
    }
    for (const QString &f : files)
        QFile::remove(f);
    return result;
}

QString pdfText(const QString &pdf)
{
    const CliResult r = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    return QString::fromUtf8(r.out);
}

} // namespace etibarix::test
