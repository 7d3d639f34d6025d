#include "labels/DataText.h"

#include "labels/ReportProject.h"

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
            m_fontJustify = justifyFromName(*t).value_or(m_fontJustify);
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

std::optional<DataText::Justify> DataText::justifyFromName(QByteArrayView name)
{
    if (sameName(name, "pjCenter"))
        return Justify::Center;
    if (sameName(name, "pjLeft"))
        return Justify::Left;
    if (sameName(name, "pjRight"))
        return Justify::Right;
    if (sameName(name, "pjBlock"))
        return Justify::Block;
    return std::nullopt;
}

QByteArray DataText::justifyName(Justify j)
{
    switch (j) {
    case Justify::Center: return QByteArrayLiteral("pjCenter");
    case Justify::Left: return QByteArrayLiteral("pjLeft");
    case Justify::Right: return QByteArrayLiteral("pjRight");
    case Justify::Block: return QByteArrayLiteral("pjBlock");
    }
    return {};
}

} // namespace etibarix::labels
