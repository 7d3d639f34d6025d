#include "labels/project/ReportBarCode.h"

#include "labels/project/ReportProject.h"

namespace etibarix::labels {
namespace {

PrintJustify justifyOf(const ProjectValue &v, PrintJustify current)
{
    const auto t = v.toText();
    return t ? printJustifyFromName(*t).value_or(current) : current;
}

} // namespace

ReportBarCode::ReportBarCode()
{
    // A new barcode's readable line.
    font.size = 8;
    font.color = LayoutFont::WindowText;
}

bool ReportBarCode::setProperty(QByteArrayView name, const ProjectValue &value)
{
    if (sameName(name, "BarWidth"))
        return setLength(barWidth, value);
    if (sameName(name, "BarHeight"))
        return setLength(barHeight, value);
    if (sameName(name, "BarTop"))
        return setLength(barTop, value);
    if (sameName(name, "WideFactor"))
        return setLength(wideFactor, value);
    if (sameName(name, "Font")) {
        if (value.type == ProjectValue::Type::List)
            font.apply(value.list);
        return true;
    }
    if (sameName(name, "CodePage")) {
        if (auto t = value.toText())
            codePage = codePageFromName(*t).value_or(codePage);
        return true;
    }
    if (sameName(name, "Optimize"))
        return setFlag(optimize, value);
    if (sameName(name, "UseChecksum"))
        return setFlag(useChecksum, value);
    if (sameName(name, "PrintReadable"))
        return setFlag(printReadable, value);
    if (sameName(name, "PrintChecksum"))
        return setFlag(printChecksum, value);
    if (sameName(name, "PrintTop"))
        return setFlag(printTop, value);
    if (sameName(name, "AutoSize"))
        return setFlag(autoSize, value);
    if (sameName(name, "TextJustify")) {
        textJustify = justifyOf(value, textJustify);
        return true;
    }
    if (sameName(name, "BarCodeJustify")) {
        barCodeJustify = justifyOf(value, barCodeJustify);
        return true;
    }
    if (sameName(name, "BarCodeRotation")) {
        if (auto t = value.toText())
            rotation = barRotationFromName(*t).value_or(rotation);
        return true;
    }
    if (sameName(name, "DataField"))
        return setText(dataField, value);
    if (sameName(name, "Text"))
        return setText(text, value);
    return ReportComponent::setProperty(name, value);
}

QByteArray ReportBarCode::value(const ReportProject &project) const
{
    return dataField.isEmpty() ? text : project.fieldValue(dataField);
}

Code128BarCode ReportBarCode::toCode128() const
{
    constexpr double mm = 25.4;
    Code128BarCode bar;
    bar.Name = name();
    bar.Left = left() * mm;
    bar.Top = top() * mm;
    bar.Width = width() * mm;
    bar.Height = height() * mm;
    bar.BarWidth = barWidth * mm;
    bar.BarHeight = barHeight * mm;
    bar.BarTop = barTop * mm;
    bar.Font = font.pageFont();
    bar.CodePage = codePage;
    bar.Optimize = optimize;
    bar.UseChecksum = useChecksum;
    bar.PrintReadable = printReadable;
    bar.PrintChecksum = printChecksum;
    bar.PrintTop = printTop;
    bar.TextJustify = textJustify;
    bar.BarCodeJustify = barCodeJustify;
    bar.BarCodeRotation = rotation;
    bar.AutoSize = autoSize;
    bar.WideFactor = wideFactor;
    bar.DataField = dataField;
    bar.Text = text;
    return bar;
}

void ReportBarCode::print(PageSurface &page, const ReportProject &project) const
{
    toCode128().Print(page, value(project));
}

} // namespace etibarix::labels
