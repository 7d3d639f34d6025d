#include "labels/project/DataText.h"

#include "base/Cp1252.h"
#include "labels/project/ReportProject.h"

namespace etibarix::labels {

bool DataText::setProperty(QByteArrayView name, const ProjectValue &value)
{
    if (sameName(name, "Font")) {
        if (value.type == ProjectValue::Type::List)
            m_font.apply(value.list);
        return true;
    }
    if (sameName(name, "FontJustify")) {
        if (auto t = value.toText())
            m_fontJustify = printJustifyFromName(*t).value_or(m_fontJustify);
        return true;
    }
    if (sameName(name, "DataField"))
        return setText(m_dataField, value);
    if (sameName(name, "Text"))
        return setText(m_text, value);
    if (sameName(name, "Truncate"))
        return setFlag(m_truncate, value);
    return ReportComponent::setProperty(name, value);
}

QByteArray DataText::value(const ReportProject &project) const
{
    return m_dataField.isEmpty() ? m_text : project.fieldValue(m_dataField);
}

QString DataText::fittedText(const PageSurface &page, const QByteArray &value) const
{
    const PageFont font = m_font.pageFont();
    QString text = base::fromCp1252(value);
    if (!m_truncate)
        return text;
    // One character at a time, as the box has always done it: a text that
    // fits costs one measurement.
    const double boxWidth = width() * 25.4;
    while (!text.isEmpty() && page.measureText(text, font).width > boxWidth)
        text.chop(1);
    return text;
}

void DataText::print(PageSurface &page, const ReportProject &project) const
{
    const QString text = fittedText(page, value(project));
    if (text.isEmpty())
        return;
    double x = left() * 25.4;
    if (m_fontJustify == PrintJustify::pjCenter)
        x += width() * 25.4 / 2;
    else if (m_fontJustify == PrintJustify::pjRight)
        x += width() * 25.4;
    page.drawText(x, top() * 25.4, m_fontJustify, text, m_font.pageFont());
}

QByteArray DataText::justifyName(PrintJustify j)
{
    switch (j) {
    case PrintJustify::pjCenter: return QByteArrayLiteral("pjCenter");
    case PrintJustify::pjLeft: return QByteArrayLiteral("pjLeft");
    case PrintJustify::pjRight: return QByteArrayLiteral("pjRight");
    case PrintJustify::pjBlock: return QByteArrayLiteral("pjBlock");
    }
    return {};
}

} // namespace etibarix::labels
