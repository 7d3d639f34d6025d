#include "labels/print/LabelReport.h"

#include "base/Error.h"
#include "labels/project/BuiltinLayouts.h"
#include "labels/project/ProjectFile.h"
#include "labels/project/ProjectReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace etibarix::labels {

void LabelReport::SetLayoutFile(const QString &path)
{
    m_path = path;
    if (!m_path.isEmpty() && !m_path.contains(u'.'))
        m_path += QStringLiteral(".rav");
}

QString LabelReport::fullPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString LabelReport::newerFileQuestion(const QString &fullPath)
{
    return QStringLiteral("The report project stored in the executable is older than the disk file\r\"")
        + fullPath + QStringLiteral("\"\rDo you want to use the file on disk?");
}

QString LabelReport::missingFileMessage(const QString &fullPath)
{
    return QStringLiteral("The following reporting project does not exist:\r\"") + fullPath
        + QStringLiteral("\"");
}

void LabelReport::OpenLayouts()
{
    if (m_open)
        return;
    const QFileInfo info(m_path);
    const bool exists = !m_path.isEmpty() && info.exists() && info.isFile();
    bool useFile = false;
    if (exists && info.lastModified() > BuiltinLayouts::saveTime())
        useFile = m_question && m_question(newerFileQuestion(fullPath(m_path)));

    ReportProject project;
    if (useFile) {
        if (!exists)
            throw base::Error(missingFileMessage(fullPath(m_path)));
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            throw base::Error(missingFileMessage(fullPath(m_path)));
        if (file.size() > MaxFileSize)
            throw base::Error(ProjectReader::streamReadError());
        const QByteArray bytes = file.readAll();
        project = ProjectFile::read(bytes, m_message);
    } else {
        project = BuiltinLayouts::create();
    }
    m_project = std::move(project);
    m_fromFile = useFile;
    m_open = true;
}

void LabelReport::CloseLayouts()
{
    if (!m_open)
        return;
    m_project = ReportProject();
    m_open = false;
    m_fromFile = false;
}

ReportPage *LabelReport::findLayoutPage(QByteArrayView path) const
{
    return m_open ? m_project.findPage(path) : nullptr;
}

ReportComponent *LabelReport::FindLayoutComponent(QByteArrayView path, const ReportPage *within) const
{
    if (!m_open)
        return nullptr;
    if (path.contains('.'))
        return m_project.findPage(path);
    return within ? within->findComponent(path) : nullptr;
}

void LabelReport::SetLayoutParam(QByteArrayView name, const QByteArray &value)
{
    m_project.setParameter(name, value);
}

QByteArray LabelReport::layoutParam(QByteArrayView name) const
{
    return m_project.parameter(name);
}

bool LabelReport::RunLabelReport(QByteArrayView reportName, SheetSink &sink) const
{
    if (!m_open)
        return true;
    const Report *report = m_project.findReport(reportName);
    if (!report)
        return true;
    for (const auto &page : report->pages()) {
        SheetSetup setup;
        setup.printer = report->printer();
        setup.reportName = report->name();
        setup.pageName = page->name();
        setup.paperSize = page->paperSize();
        setup.sizeMm = page->sizeMm();
        setup.orientation = page->orientation();
        setup.bin = page->bin();
        PageSurface *surface = sink.beginSheet(setup);
        if (!surface)
            return false;
        try {
            printPage(*page, m_project, *surface);
        } catch (...) {
            sink.cancel();
            throw;
        }
        sink.endSheet();
    }
    return true;
}

void LabelReport::printPage(const ReportPage &page, const ReportProject &project, PageSurface &surface)
{
    for (const auto &component : page.components())
        component->print(surface, project);
}

} // namespace etibarix::labels
