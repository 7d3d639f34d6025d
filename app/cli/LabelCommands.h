#pragma once
// The commands that need the label libraries (sheet formats, barcodes,
// drawing, printers). They run in etibarix-cli-labels; etibarix-cli itself
// links only the record and backup core, so that the commands most scripts
// call start without loading the graphics and printing libraries, and it
// hands these over to the labels tool with the same arguments.

#include "app/cli/Command.h"

namespace etibarix::cli {

int runCalibration(Context &ctx, const QStringList &arguments);
int runCode128(Context &ctx, const QStringList &arguments);
int runFormats(Context &ctx, const QStringList &arguments);
int runLayouts(Context &ctx, const QStringList &arguments);
int runPrint(Context &ctx, const QStringList &arguments);
int runPrinters(Context &ctx, const QStringList &arguments);

// Where etibarix-cli finds the labels tool: installed under
// ../libexec/etibarix/ from its own directory, or beside it in a build tree.
// Empty when neither exists.
QString LabelToolPath();

} // namespace etibarix::cli
