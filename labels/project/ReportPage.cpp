#include "labels/project/ReportPage.h"

#include <algorithm>

namespace etibarix::labels {

ReportPage::ReportPage(QByteArray name) : ReportComponent(std::move(name))
{
    setWidth(m_pageWidth);
    setHeight(m_pageHeight);
}

bool ReportPage::setProperty(QByteArrayView name, const ProjectValue &value)
{
    if (sameName(name, "PaperSize")) {
        if (auto i = value.toInteger())
            m_paperSize = int(*i);
        return true;
    }
    if (sameName(name, "PageWidth")) {
        if (auto r = value.toReal(); r && *r > 0)
            setPageSize(*r, m_pageHeight);
        return true;
    }
    if (sameName(name, "PageHeight")) {
        if (auto r = value.toReal(); r && *r > 0)
            setPageSize(m_pageWidth, *r);
        return true;
    }
    if (sameName(name, "Orientation"))
        return setText(m_orientation, value);
    if (sameName(name, "Bin")) {
        if (auto i = value.toInteger())
            m_bin = int(*i);
        return true;
    }
    return ReportComponent::setProperty(name, value);
}

void ReportPage::setPageSize(double widthInches, double heightInches)
{
    m_pageWidth = widthInches;
    m_pageHeight = heightInches;
    setWidth(widthInches);
    setHeight(heightInches);
}

QSizeF ReportPage::sizeMm() const
{
    return {m_pageWidth * 25.4, m_pageHeight * 25.4};
}

ReportComponent *ReportPage::addComponent(std::unique_ptr<ReportComponent> component)
{
    m_components.push_back(std::move(component));
    return m_components.back().get();
}

ReportComponent *ReportPage::findComponent(QByteArrayView name) const
{
    for (const auto &c : m_components) {
        if (sameName(c->name(), name))
            return c.get();
    }
    return nullptr;
}

bool ReportPage::removeComponent(QByteArrayView name)
{
    const auto it = std::find_if(m_components.begin(), m_components.end(),
                                 [&](const auto &c) { return sameName(c->name(), name); });
    if (it == m_components.end())
        return false;
    m_components.erase(it);
    return true;
}

std::unique_ptr<ReportComponent> ReportPage::takeComponent(QByteArrayView name)
{
    const auto it = std::find_if(m_components.begin(), m_components.end(),
                                 [&](const auto &c) { return sameName(c->name(), name); });
    if (it == m_components.end())
        return nullptr;
    std::unique_ptr<ReportComponent> taken = std::move(*it);
    m_components.erase(it);
    return taken;
}

} // namespace etibarix::labels
