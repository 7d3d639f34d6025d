#pragma once
// The report project (TRaveProjectManager): the reports with their pages
// and components, the global pages, and the report parameters that the
// components print. Every name is compared without regard to case.

#include "labels/project/Report.h"

#include <QByteArray>

#include <memory>
#include <utility>
#include <vector>

namespace etibarix::labels {

class ReportProject {
public:
    static constexpr const char *ClassName = "TRaveProjectManager";

    ReportProject() = default;
    ReportProject(ReportProject &&) = default;
    ReportProject &operator=(ReportProject &&) = default;

    const QByteArray &name() const { return m_name; }
    void setName(const QByteArray &name) { m_name = name; }
    const QByteArray &lastActiveReport() const { return m_lastActiveReport; }
    void setLastActiveReport(const QByteArray &name) { m_lastActiveReport = name; }
    int version() const { return m_version; }
    void setVersion(int version) { m_version = version; }

    bool setProperty(QByteArrayView name, const ProjectValue &value);

    const std::vector<std::unique_ptr<Report>> &reports() const { return m_reports; }
    Report *addReport(std::unique_ptr<Report> report);
    Report *findReport(QByteArrayView name) const;
    // The report named by lastActiveReport, else the first; nullptr when
    // there is no report.
    Report *currentReport() const;

    const std::vector<std::unique_ptr<ReportPage>> &globalPages() const { return m_globalPages; }
    ReportPage *addGlobalPage(std::unique_ptr<ReportPage> page);

    // "report.page" finds that page of that report; a name without a dot
    // finds a global page.
    ReportPage *findPage(QByteArrayView path) const;

    // Report parameters. Unset reads as empty; setting an empty value
    // removes the parameter.
    QByteArray parameter(QByteArrayView name) const;
    void setParameter(QByteArrayView name, const QByteArray &value);
    const std::vector<std::pair<QByteArray, QByteArray>> &parameters() const { return m_parameters; }
    void clearParameters() { m_parameters.clear(); }

    // The value a component bound to `field` prints: the parameter for
    // "param." + name, empty for any other field.
    QByteArray fieldValue(QByteArrayView field) const;

private:
    QByteArray m_name = QByteArrayLiteral("RaveProject");
    QByteArray m_lastActiveReport;
    int m_version = 40005;
    std::vector<std::unique_ptr<Report>> m_reports;
    std::vector<std::unique_ptr<ReportPage>> m_globalPages;
    std::vector<std::pair<QByteArray, QByteArray>> m_parameters;
};

} // namespace etibarix::labels
