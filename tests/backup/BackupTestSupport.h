#pragma once
// Shared pieces of the backup tests: recording callbacks and test data.

#include "backup/BackupCallbacks.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

#include <cstdint>

namespace etibarix::test {

// Records what the component would have shown; answers disk prompts from a
// script (OK once the script runs out).
struct Recorder {
    QStringList errors;
    QStringList prompts;
    QList<bool> answers;
    int events = 0;
    backup::BackupCallbacks callbacks();
};

QByteArray randomBytes(qsizetype size, std::uint32_t seed);
QByteArray repetitiveBytes(qsizetype size);
// Text records that compress like a real table.
QByteArray tableLikeBytes(qsizetype size, std::uint32_t seed);

// The time tests give their files: 2024-05-17 13:45:30 local.
QDateTime fixedTime();
bool setModified(const QString &path, const QDateTime &time);
QDateTime modified(const QString &path);

} // namespace etibarix::test
