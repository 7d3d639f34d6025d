#pragma once
// Reading of a whole report project stream into a ReportProject:
//   "RAV" 0x1A, version, header code 0, modules (version > 40004), the last
//   active report, the project record, then items up to the end: global
//   pages (kind 3), data views (2) and data objects (6), which carry nothing
//   for labels, and reports (any other kind) with their pages.
//
// Errors end the reading with base::Error carrying the message shown to the
// user. A component class the program does not know is not an error: its
// record is read and dropped, and the message goes to the message handler.

#include "labels/project/ReportProject.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace etibarix::labels {

class ProjectFile {
public:
    using MessageHandler = std::function<void(const QString &message)>;

    static constexpr char Signature[] = "RAV\x1A";

    // Reads a project stream. The result replaces nothing until the whole
    // stream has been read.
    static ReportProject read(QByteArrayView stream, const MessageHandler &messages = {});

    // The message for a component class the program does not know.
    static QString unknownClassMessage(QByteArrayView className);
};

} // namespace etibarix::labels
