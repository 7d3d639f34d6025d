// The settings file etibarix.ini: any bytes, read for printer offsets. Every
// offset read is a number within the limits, whatever the file holds; storing
// one keeps the others and reads back as stored, or, in a file that does not
// read as settings, is refused with the file left byte for byte.

#include "base/Error.h"
#include "labels/print/Calibration.h"
#include "tests/fuzz/FuzzTarget.h"

#include <cmath>

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

const QString Printers[] = {QStringLiteral("Office"), QStringLiteral("PDF"), QStringLiteral("a/b\\c=d;e"),
    QStringLiteral("\u00c9tage 2")};

bool withinLimits(const labels::PrinterOffset &o)
{
    return std::isfinite(o.x) && std::isfinite(o.y) && std::abs(o.x) <= labels::Calibration::Limit
        && std::abs(o.y) <= labels::Calibration::Limit;
}

} // namespace

ETIBARIX_FUZZ_SEEDS(settings)
{
    return {{QStringLiteral("offsets.ini"), QByteArray("[calibration]\nOffice\\x=1.5\nOffice\\y=-0.7\n"
                                                       "a%2Fb%5Cc%3Dd%3Be\\x=25\n")},
        {QStringLiteral("window.ini"), QByteArray("[window]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb)\n[calibration]\nPDF\\x=nan\n")}};
}

ETIBARIX_FUZZ_TARGET(settings)
{
    const QString dir = scratchDir();
    emptyDir(dir);
    const QString path = dir + QStringLiteral("etibarix.ini");
    writeFile(path, input);

    labels::Calibration calibration(path);
    labels::PrinterOffset before[std::size(Printers)];
    for (std::size_t i = 0; i < std::size(Printers); ++i) {
        before[i] = calibration.offset(Printers[i]);
        FUZZ_CHECK(withinLimits(before[i]), QStringLiteral("an offset beyond the limits for ") + Printers[i]);
    }
    const labels::PrinterOffset stored{1.2, -3.4};
    try {
        calibration.setOffset(Printers[0], stored);
    } catch (const base::Error &) {
        FUZZ_CHECK(readFile(path) == input, QStringLiteral("a refused offset changed the file"));
        return;
    }
    FUZZ_CHECK(labels::Calibration(path).offset(Printers[0]) == stored, QStringLiteral("the stored offset reads back differently"));
    for (std::size_t i = 1; i < std::size(Printers); ++i)
        FUZZ_CHECK(labels::Calibration(path).offset(Printers[i]) == before[i],
                   QStringLiteral("storing one printer changed another: ") + Printers[i]);
}
