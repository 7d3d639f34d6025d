#pragma once
// The label layouts as the print job drives them: chooses the project
// (the file next to the program or the built-in copy), opens and closes it,
// finds pages and components, sets report parameters and prints reports.
//
// The question whether to use a disk file newer than the built-in copy goes
// to the question handler (the GUI shows it as a Yes/No warning, the CLI
// answers it); messages about unknown component classes go to the message
// handler and do not stop reading.

#include "labels/project/ReportProject.h"
#include "labels/print/SheetSink.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace etibarix::labels {

class LabelReport {
public:
    using QuestionHandler = std::function<bool(const QString &question)>;
    using MessageHandler = std::function<void(const QString &message)>;

    // Without a handler the question is answered No.
    void setQuestionHandler(QuestionHandler handler) { m_question = std::move(handler); }
    void setMessageHandler(MessageHandler handler) { m_message = std::move(handler); }

    // Remembers the project file; a path without a dot gets ".rav".
    void SetLayoutFile(const QString &path);
    const QString &layoutFile() const { return m_path; }

    // Loads the project from the file or the built-in copy, unless open.
    // Throws base::Error with the reading error; the project stays closed.
    void OpenLayouts();
    // Discards the project (and the parameters). Nothing when not open.
    void CloseLayouts();
    bool isOpen() const { return m_open; }
    // True when the open project came from the file.
    bool openedFromFile() const { return m_fromFile; }

    ReportProject &project() { return m_project; }
    const ReportProject &project() const { return m_project; }

    // "report.page" finds that page; a plain name is looked for among the
    // components of `within`. nullptr when absent or not open.
    ReportComponent *FindLayoutComponent(QByteArrayView path, const ReportPage *within = nullptr) const;
    // The page of a "report.page" path, nullptr when absent.
    ReportPage *findLayoutPage(QByteArrayView path) const;

    // Sets a report parameter; an empty value removes it.
    void SetLayoutParam(QByteArrayView name, const QByteArray &value);
    QByteArray layoutParam(QByteArrayView name) const;

    // Prints every page of the named report once, each page one sheet of
    // `sink`; nothing when there is no such report or the project is not
    // open. Returns false when the user cancelled a sheet (the pages after
    // it are not printed).
    bool RunLabelReport(QByteArrayView reportName, SheetSink &sink) const;
    // Prints one page of the project.
    static void printPage(const ReportPage &page, const ReportProject &project, PageSurface &surface);

    // The question asked when the file is newer than the built-in copy.
    static QString newerFileQuestion(const QString &fullPath);
    static QString missingFileMessage(const QString &fullPath);
    // The full path shown in the texts.
    static QString fullPath(const QString &path);

    // Largest project file read: far above any layout project, it keeps a
    // wrong file from filling the memory.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

private:
    QString m_path;
    ReportProject m_project;
    bool m_open = false;
    bool m_fromFile = false;
    QuestionHandler m_question;
    MessageHandler m_message;
};

} // namespace etibarix::labels
