#include "labels/project/ProjectFile.h"

#include "base/Cp1252.h"
#include "base/Error.h"
#include "labels/project/ProjectReader.h"

namespace etibarix::labels {
namespace {

class Reader {
public:
    Reader(const ProjectFile::MessageHandler &messages, ReportProject &project)
        : m_messages(messages), m_project(project)
    {
    }

    // One component record. The component is created in `page` (nullptr
    // drops it); its children follow it in the page's list.
    void readComponent(ProjectReader &in, ReportPage *page, int depth)
    {
        ProjectReader::checkDepth(depth);
        in.readByte(); // lead byte
        const QByteArray className = in.readString();
        const QByteArray name = in.readString();
        in.readByte(); // property marker
        std::unique_ptr<ReportComponent> component = ReportComponent::create(className);
        if (!component && !isStructural(className))
            message(ProjectFile::unknownClassMessage(className));
        ReportComponent *target = nullptr;
        if (component) {
            component->setName(name);
            target = page ? page->addComponent(std::move(component)) : nullptr;
        }
        applyProperties(in, depth, [&](const QByteArray &n, const ProjectValue &v) {
            if (target)
                target->setProperty(n, v);
        });
        readChildren(in, page && target ? page : nullptr, depth);
    }

    void readChildren(ProjectReader &in, ReportPage *page, int depth)
    {
        const quint32 count = in.readCint();
        for (quint32 i = 0; i < count; ++i)
            readComponent(in, page, depth + 1);
    }

    // A record that must be of `expected` class and is read into `apply`.
    template<typename Apply>
    void readRecordInto(ProjectReader &in, QByteArrayView expected, QByteArray *name, Apply apply,
                        ReportPage *childPage)
    {
        in.readByte();
        const QByteArray className = in.readString();
        const QByteArray recordName = in.readString();
        in.readByte();
        const bool known = sameName(className, expected);
        if (!known)
            message(ProjectFile::unknownClassMessage(className));
        if (name && known)
            *name = recordName;
        applyProperties(in, 0, [&](const QByteArray &n, const ProjectValue &v) {
            if (known)
                apply(n, v);
        });
        readChildren(in, known ? childPage : nullptr, 0);
    }

    template<typename Apply>
    void applyProperties(ProjectReader &in, int depth, Apply apply)
    {
        for (QByteArray n = in.readString(); !n.isEmpty(); n = in.readString()) {
            const ProjectValue v = in.readValue(depth + 1);
            apply(n, v);
        }
    }

    void readPage(QByteArrayView data, ReportPage &page)
    {
        ProjectReader in(data);
        QByteArray name;
        readRecordInto(in, ReportPage::ClassName, &name,
                       [&](const QByteArray &n, const ProjectValue &v) { page.setProperty(n, v); },
                       &page);
    }

    void readReport(QByteArrayView data, Report &report)
    {
        ProjectReader in(data);
        if (m_project.version() > 30003)
            report.setLastActivePage(in.readString());
        std::vector<std::unique_ptr<ReportPage>> pages;
        const quint32 pageCount = in.readCint();
        for (quint32 i = 0; i < pageCount; ++i) {
            if (in.readByte() != 0)
                throw base::Error(QStringLiteral("TRaveProjectItem class not found"));
            pages.push_back(std::make_unique<ReportPage>(in.readString()));
        }
        QList<QByteArray> fixups;
        const quint32 fixupCount = in.readCint();
        for (quint32 i = 0; i < fixupCount; ++i)
            fixups.append(in.readString());
        report.setFixups(fixups);
        QByteArray recordName;
        readRecordInto(in, Report::ClassName, &recordName,
                       [&](const QByteArray &n, const ProjectValue &v) { report.setProperty(n, v); },
                       nullptr);
        for (auto &page : pages) {
            readPage(in.readBlock(), *page);
            report.addPage(std::move(page));
        }
    }

    void message(const QString &text)
    {
        if (m_messages)
            m_messages(text);
    }

private:
    static bool isStructural(QByteArrayView className)
    {
        return sameName(className, ReportPage::ClassName) || sameName(className, Report::ClassName)
            || sameName(className, ReportProject::ClassName);
    }

    const ProjectFile::MessageHandler &m_messages;
    ReportProject &m_project;
};

} // namespace

QString ProjectFile::unknownClassMessage(QByteArrayView className)
{
    return QStringLiteral("Unknown class \"") + base::fromCp1252(className)
        + QStringLiteral("\" found.  You will need to include the unit containing this component to your uses clause.");
}

ReportProject ProjectFile::read(QByteArrayView stream, const MessageHandler &messages)
{
    ReportProject project;
    ProjectReader in(stream);
    Reader reader(messages, project);

    if (stream.size() < 4 || stream.first(4) != QByteArrayView(Signature, 4))
        throw base::Error(QStringLiteral("Invalid Project Format"));
    in.readBytes(4);
    project.setVersion(in.readInt32());
    if (in.readByte() != 0)
        throw base::Error(QStringLiteral("Invalid Project Header Code"));
    if (project.version() > 40004) {
        const quint32 modules = in.readCint();
        for (quint32 i = 0; i < modules; ++i) {
            in.readString();
            in.readBlock();
        }
    }
    project.setLastActiveReport(in.readString());
    QByteArray projectName;
    reader.readRecordInto(in, ReportProject::ClassName, &projectName,
                          [&](const QByteArray &n, const ProjectValue &v) { project.setProperty(n, v); },
                          nullptr);
    if (!projectName.isEmpty())
        project.setName(projectName);

    while (!in.atEnd()) {
        const quint8 kind = in.readByte();
        const QByteArray name = in.readString();
        QByteArray className;
        if (kind == 6)
            className = in.readString();
        const QByteArray data = in.readBlock();
        if (name.isEmpty())
            continue;
        switch (kind) {
        case 2: // data view: nothing of it is used for labels
            break;
        case 6: // data object of the named class; no class of that kind is known
            reader.message(unknownClassMessage(className));
            break;
        case 3: {
            auto page = std::make_unique<ReportPage>(name);
            reader.readPage(data, *page);
            page->setName(name);
            project.addGlobalPage(std::move(page));
            break;
        }
        default: {
            auto report = std::make_unique<Report>(name);
            reader.readReport(data, *report);
            report->setName(name);
            project.addReport(std::move(report));
            break;
        }
        }
    }
    return project;
}

} // namespace etibarix::labels
