#include "labels/project/LayoutTree.h"

#include "base/Cp1252.h"
#include "labels/project/DataText.h"
#include "labels/project/ReportBarCode.h"

namespace etibarix::labels {
namespace {

QString mm(double inches, int decimals)
{
    return QString::number(inches * 25.4, 'f', decimals);
}

QString text(const QByteArray &bytes)
{
    return base::fromCp1252(bytes);
}

QString flag(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

QString font(const LayoutFont &f)
{
    return text(f.name) + u',' + QString::number(f.size);
}

QString pageLine(const QString &kind, const ReportPage &page)
{
    const QSizeF size = page.sizeMm();
    return kind + u' ' + text(page.name()) + QStringLiteral(" PaperSize=") + QString::number(page.paperSize())
        + QStringLiteral(" Width=") + QString::number(size.width(), 'f', 2) + QStringLiteral(" Height=")
        + QString::number(size.height(), 'f', 2);
}

} // namespace

QString LayoutTree::describeComponent(const ReportComponent &c)
{
    QString line = text(c.className()) + u' ' + text(c.name()) + QStringLiteral(" Left=") + mm(c.left(), 2)
        + QStringLiteral(" Top=") + mm(c.top(), 2) + QStringLiteral(" Width=") + mm(c.width(), 2)
        + QStringLiteral(" Height=") + mm(c.height(), 2);
    if (const auto *b = dynamic_cast<const ReportBarCode *>(&c)) {
        line += QStringLiteral(" BarHeight=") + mm(b->barHeight, 3) + QStringLiteral(" BarWidth=")
            + mm(b->barWidth, 3) + QStringLiteral(" Font=") + font(b->font) + QStringLiteral(" DataField=")
            + text(b->dataField) + QStringLiteral(" PrintReadable=") + flag(b->printReadable)
            + QStringLiteral(" AutoSize=") + flag(b->autoSize);
    } else if (const auto *t = dynamic_cast<const DataText *>(&c)) {
        line += QStringLiteral(" Font=") + font(t->font()) + QStringLiteral(" DataField=") + text(t->dataField());
    }
    return line;
}

QString LayoutTree::describe(const ReportProject &project)
{
    QString out = QStringLiteral("project ") + text(project.name()) + u'\n';
    for (const auto &report : project.reports()) {
        out += QStringLiteral("  report ") + text(report->name()) + QStringLiteral(" Printer=")
            + text(report->printer()) + u'\n';
        for (const auto &page : report->pages()) {
            out += QStringLiteral("    ") + pageLine(QStringLiteral("page"), *page) + u'\n';
            for (const auto &c : page->components())
                out += QStringLiteral("      ") + describeComponent(*c) + u'\n';
        }
    }
    for (const auto &page : project.globalPages()) {
        out += QStringLiteral("  ") + pageLine(QStringLiteral("globalpage"), *page) + u'\n';
        for (const auto &c : page->components())
            out += QStringLiteral("    ") + describeComponent(*c) + u'\n';
    }
    return out;
}

} // namespace etibarix::labels
