#include "labels/project/Report.h"

namespace etibarix::labels {

bool Report::setProperty(QByteArrayView name, const ProjectValue &value)
{
    if (sameName(name, "Printer")) {
        if (auto t = value.toText())
            m_printer = *t;
        return true;
    }
    return false;
}

ReportPage *Report::addPage(std::unique_ptr<ReportPage> page)
{
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

ReportPage *Report::findPage(QByteArrayView name) const
{
    for (const auto &p : m_pages) {
        if (sameName(p->name(), name))
            return p.get();
    }
    return nullptr;
}

} // namespace etibarix::labels
