#include "labels/ReportBarCode.h"

#include "labels/DataText.h"
#include "labels/ReportProject.h"

namespace etibarix::labels {
namespace {

ReportBarCode::Justify justifyOf(const ProjectValue &v, ReportBarCode::Justify current)
{
    const auto t = v.toText();
    return t ? DataText::justifyFromName(*t).value_or(current) : current;
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
        if (auto t = value.toText()) {
            if (sameName(*t, "cpCodeA"))
                codePage = CodeSet::A;
            else if (sameName(*t, "cpCodeB"))
                codePage = CodeSet::B;
            else if (sameName(*t, "cpCodeC"))
                codePage = CodeSet::C;
        }
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
        if (auto t = value.toText()) {
            for (int deg : {0, 90, 180, 270}) {
                if (sameName(*t, "Rot" + QByteArray::number(deg)))
                    rotation = deg;
            }
        }
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

} // namespace etibarix::labels
