// The report project file: any bytes read as a project stream. Reading
// fails with the reader's own error or gives a project whose every page
// prints onto an offscreen surface; the project written back by the tests'
// writer reads as the same layout tree (the project's own name aside, which
// that writer does not keep).

#include "base/Error.h"
#include "labels/project/BuiltinLayouts.h"
#include "labels/print/LabelReport.h"
#include "labels/project/LayoutTree.h"
#include "labels/print/PainterSurface.h"
#include "labels/project/ProjectFile.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/labels/project/ProjectStreamWriter.h"

#include <QImage>
#include <QPainter>

using namespace etibarix;
using namespace etibarix::fuzz;

namespace {

void printEveryPage(const labels::ReportProject &project)
{
    // A small picture of an A4 page at about 12 dots per centimetre.
    QImage image(256, 362, QImage::Format_RGB32);
    image.setDotsPerMeterX(1219);
    image.setDotsPerMeterY(1219);
    for (const auto &report : project.reports()) {
        for (const auto &page : report->pages()) {
            image.fill(Qt::white);
            QPainter painter(&image);
            labels::PainterSurface surface(painter);
            labels::LabelReport::printPage(*page, project, surface);
        }
    }
}

// The layout tree below the project line.
QString layoutsOf(const labels::ReportProject &project)
{
    const QString tree = labels::LayoutTree::describe(project);
    return tree.mid(tree.indexOf(u'\n') + 1);
}

} // namespace

ETIBARIX_FUZZ_SEEDS(project)
{
    // The program never writes this format: the seeds are one report of the
    // built-in layouts through the tests' writer (the whole project is far
    // beyond the fuzzer's input length), with LZW blocks and stored blocks.
    labels::ReportProject builtin = labels::BuiltinLayouts::create();
    labels::ReportProject first;
    first.setLastActiveReport(builtin.reports().front()->name());
    first.addReport(std::move(const_cast<std::unique_ptr<labels::Report> &>(builtin.reports().front())));
    return {
        {QStringLiteral("one-report-lzw.rav"), test::projectStream(first, 2)},
        {QStringLiteral("one-report-plain.rav"), test::projectStream(first, 0)},
    };
}

ETIBARIX_FUZZ_TARGET(project)
{
    ensureGuiApplication();
    labels::ReportProject project;
    try {
        project = labels::ProjectFile::read(input);
    } catch (const base::Error &) {
        return;
    }
    const QString tree = layoutsOf(project);
    if (!project.reports().empty())
        FUZZ_CHECK(project.currentReport() != nullptr, QStringLiteral("no current report"));
    printEveryPage(project);

    labels::ReportProject again;
    try {
        again = labels::ProjectFile::read(test::projectStream(project, 2));
    } catch (const base::Error &e) {
        fail(__FILE__, __LINE__, "reading the project written back", e.text());
    }
    FUZZ_CHECK(layoutsOf(again) == tree, QStringLiteral("written back, the project reads differently:\n")
                   + tree + QStringLiteral("\n---\n") + layoutsOf(again));
}
