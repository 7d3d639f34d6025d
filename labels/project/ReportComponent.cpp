#include "labels/project/ReportComponent.h"

#include "labels/project/DataText.h"
#include "labels/project/ReportBarCode.h"

namespace etibarix::labels {

std::unique_ptr<ReportComponent> ReportComponent::create(QByteArrayView className)
{
    if (sameName(className, ReportBarCode::ClassName))
        return std::make_unique<ReportBarCode>();
    if (sameName(className, DataText::ClassName))
        return std::make_unique<DataText>();
    return nullptr;
}

bool ReportComponent::setProperty(QByteArrayView name, const ProjectValue &value)
{
    if (sameName(name, "Name"))
        return setText(m_name, value);
    if (sameName(name, "Left"))
        return setLength(m_left, value);
    if (sameName(name, "Top"))
        return setLength(m_top, value);
    if (sameName(name, "Width"))
        return setLength(m_width, value);
    if (sameName(name, "Height"))
        return setLength(m_height, value);
    return false;
}

void ReportComponent::print(PageSurface &, const ReportProject &) const
{
}

bool ReportComponent::setLength(double &target, const ProjectValue &value)
{
    if (auto r = value.toReal())
        target = *r;
    return true;
}

bool ReportComponent::setFlag(bool &target, const ProjectValue &value)
{
    if (auto b = value.toBool())
        target = *b;
    return true;
}

bool ReportComponent::setText(QByteArray &target, const ProjectValue &value)
{
    if (auto t = value.toText())
        target = *t;
    return true;
}

} // namespace etibarix::labels
