// calibration: shows or stores a printer's offsets (etibarix.ini).

#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "labels/print/Calibration.h"
#include "labels/printer/PrinterList.h"

namespace etibarix::cli {
namespace {

// A value of --set: a number within the calibration's limits.
std::optional<double> offsetValue(const QString &text)
{
    bool ok = false;
    const double mm = text.toDouble(&ok);
    if (!ok || !labels::Calibration::inRange(mm))
        return std::nullopt;
    return mm;
}

} // namespace

int runCalibration(Context &ctx, const QStringList &arguments)
{
    QStringList rest = arguments;
    std::optional<labels::PrinterOffset> set;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--set")); at >= 0) {
        if (at + 2 >= rest.size())
            return usageError(ctx, QStringLiteral("calibration: --set needs two values, X and Y in mm"));
        const auto x = offsetValue(rest.at(at + 1));
        const auto y = offsetValue(rest.at(at + 2));
        if (!x || !y)
            return usageError(ctx, QStringLiteral("calibration: the offsets must be numbers from -20 to 20 (mm)"));
        set = labels::PrinterOffset{*x, *y};
        rest.remove(at, 3);
    }
    Args args(rest);
    std::optional<QString> printer = args.take(QStringLiteral("--printer"));
    if (args.hasError())
        return usageError(ctx, args.error());
    if (!args.rest().isEmpty())
        return usageError(ctx, QStringLiteral("calibration: unexpected argument: %1").arg(args.rest().first()));
    if (!printer) {
        const QString defaultName = labels::FillPrinterList().defaultName;
        if (defaultName.isEmpty())
            return failure(ctx, QStringLiteral("calibration: no default printer; name one with --printer NAME"));
        printer = defaultName;
    }
    labels::Calibration calibration;
    if (set)
        calibration.setOffset(*printer, *set);
    const labels::PrinterOffset offset = calibration.offset(*printer);
    ctx.out << *printer << '\t' << QString::number(offset.x, 'f', 1) << '\t' << QString::number(offset.y, 'f', 1)
            << '\n';
    return Ok;
}

} // namespace etibarix::cli
