#pragma once
// A real print queue for tests: starts cupsd when none runs, adds a cups-pdf
// queue whose PDFs land in a folder of the test's own, and takes all of it
// down again (the queue, its configuration, and the cupsd it started).

#include <QProcess>
#include <QString>
#include <QStringList>

namespace etibarix::test {

class CupsQueue {
public:
    CupsQueue(const QString &name, const QString &outDir);
    ~CupsQueue();
    CupsQueue(const CupsQueue &) = delete;
    CupsQueue &operator=(const CupsQueue &) = delete;

    // Why the queue could not be set up here; empty when it is ready.
    const QString &skipReason() const { return m_skip; }
    const QString &name() const { return m_name; }
    // True when the queue was made the system's default printer (there was none).
    bool isDefault() const { return m_madeDefault; }

    // The PDFs in the output folder, sorted by job number, once there are
    // `count` complete ones or the time is up.
    QStringList waitForPdfs(int count, int timeoutMs) const;

private:
    QString m_name;
    QString m_outDir;
    QString m_conf;
    QString m_skip;
    QProcess m_cupsd;
    bool m_startedCupsd = false;
    bool m_added = false;
    bool m_madeDefault = false;
};

} // namespace etibarix::test
