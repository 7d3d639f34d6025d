#pragma once
// A report of the project (TRaveReport): its pages in print order and the
// printer it goes to.

#include "labels/project/ReportPage.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <vector>

namespace etibarix::labels {

class Report {
public:
    static constexpr const char *ClassName = "TRaveReport";

    explicit Report(QByteArray name = {}) : m_name(std::move(name)) {}

    const QByteArray &name() const { return m_name; }
    void setName(const QByteArray &name) { m_name = name; }
    // The printer the report prints on; empty: the default printer.
    const QByteArray &printer() const { return m_printer; }
    void setPrinter(const QByteArray &printer) { m_printer = printer; }
    const QByteArray &lastActivePage() const { return m_lastActivePage; }
    void setLastActivePage(const QByteArray &name) { m_lastActivePage = name; }
    // Names of the global pages the report refers to.
    const QList<QByteArray> &fixups() const { return m_fixups; }
    void setFixups(const QList<QByteArray> &names) { m_fixups = names; }

    bool setProperty(QByteArrayView name, const ProjectValue &value);

    const std::vector<std::unique_ptr<ReportPage>> &pages() const { return m_pages; }
    ReportPage *addPage(std::unique_ptr<ReportPage> page);
    // By name, without regard to case; nullptr when absent.
    ReportPage *findPage(QByteArrayView name) const;

private:
    QByteArray m_name;
    QByteArray m_printer;
    QByteArray m_lastActivePage;
    QList<QByteArray> m_fixups;
    std::vector<std::unique_ptr<ReportPage>> m_pages;
};

} // namespace etibarix::labels
