#include "labels/project/ReportProject.h"

#include <algorithm>

namespace etibarix::labels {

bool ReportProject::setProperty(QByteArrayView, const ProjectValue &)
{
    // The project's own properties (units, categories, variables) play no
    // part in printing labels; they are read past.
    return false;
}

Report *ReportProject::addReport(std::unique_ptr<Report> report)
{
    m_reports.push_back(std::move(report));
    return m_reports.back().get();
}

Report *ReportProject::findReport(QByteArrayView name) const
{
    for (const auto &r : m_reports) {
        if (sameName(r->name(), name))
            return r.get();
    }
    return nullptr;
}

Report *ReportProject::currentReport() const
{
    if (Report *r = findReport(m_lastActiveReport))
        return r;
    return m_reports.empty() ? nullptr : m_reports.front().get();
}

ReportPage *ReportProject::addGlobalPage(std::unique_ptr<ReportPage> page)
{
    m_globalPages.push_back(std::move(page));
    return m_globalPages.back().get();
}

ReportPage *ReportProject::findPage(QByteArrayView path) const
{
    const qsizetype dot = path.indexOf('.');
    if (dot < 0) {
        for (const auto &p : m_globalPages) {
            if (sameName(p->name(), path))
                return p.get();
        }
        return nullptr;
    }
    const Report *report = findReport(path.first(dot));
    return report ? report->findPage(path.sliced(dot + 1)) : nullptr;
}

QByteArray ReportProject::parameter(QByteArrayView name) const
{
    for (const auto &[n, v] : m_parameters) {
        if (sameName(n, name))
            return v;
    }
    return {};
}

void ReportProject::setParameter(QByteArrayView name, const QByteArray &value)
{
    const auto it = std::find_if(m_parameters.begin(), m_parameters.end(),
                                 [&](const auto &p) { return sameName(p.first, name); });
    if (value.isEmpty()) {
        if (it != m_parameters.end())
            m_parameters.erase(it);
    } else if (it != m_parameters.end()) {
        it->second = value;
    } else {
        m_parameters.emplace_back(name.toByteArray(), value);
    }
}

QByteArray ReportProject::fieldValue(QByteArrayView field) const
{
    constexpr QByteArrayView prefix("param.");
    if (field.size() > prefix.size() && sameName(field.first(prefix.size()), prefix))
        return parameter(field.sliced(prefix.size()));
    return {};
}

} // namespace etibarix::labels
