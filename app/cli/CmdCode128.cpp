// etibarix-cli code128 TEXT [--codeset A|B|C] [--no-optimize]
//
// Encodes TEXT as the label printing does and prints one line:
// start set letter, TAB, symbol values separated by spaces, TAB, check value,
// TAB, symbol width in modules.

#include "app/cli/Command.h"
#include "app/cli/LabelCommands.h"
#include "labels/code128/Code128Symbol.h"

namespace etibarix::cli {
namespace {

} // namespace

int runCode128(Context &ctx, const QStringList &arguments)
{
    Args args(arguments);
    const std::optional<QString> codeset = args.take(QStringLiteral("--codeset"));
    const bool noOptimize = args.flag(QStringLiteral("--no-optimize"));
    if (args.hasError())
        return usageError(ctx, args.error());
    if (args.rest().size() != 1)
        return usageError(ctx, QStringLiteral("usage: code128 TEXT [--codeset A|B|C] [--no-optimize]"));

    labels::CodePage128 page = labels::CodePage128::cpCodeA;
    if (codeset) {
        const QString set = codeset->toUpper();
        if (set == QLatin1String("A"))
            page = labels::CodePage128::cpCodeA;
        else if (set == QLatin1String("B"))
            page = labels::CodePage128::cpCodeB;
        else if (set == QLatin1String("C"))
            page = labels::CodePage128::cpCodeC;
        else
            return usageError(ctx, QStringLiteral("--codeset takes A, B or C"));
    }

    labels::Code128Symbol symbol;
    symbol.setCodePage(page);
    symbol.setOptimize(!noOptimize);
    // A character without a Windows-1252 byte cannot be in a label's text
    // at all: refused, as every command refuses it.
    const std::optional<QByteArray> text = tableText(ctx, QStringLiteral("code128"), args.rest().first());
    if (!text)
        return Usage;
    symbol.FilterBarText(*text);
    const labels::Code128Encoding e = symbol.EncodeSymbol();

    QString values;
    for (const std::uint8_t v : e.values) {
        if (!values.isEmpty())
            values += QLatin1Char(' ');
        values += QString::number(v);
    }
    ctx.out << QLatin1Char(labels::codeSetLetter(e.startSet)) << '\t' << values << '\t'
            << e.checkValue << '\t' << e.modules() << '\n';
    ctx.out.flush();
    return Ok;
}

} // namespace etibarix::cli
