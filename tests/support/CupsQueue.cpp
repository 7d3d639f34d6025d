#include "tests/support/CupsQueue.h"

#include "tests/support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace etibarix::test {

namespace {

bool schedulerRunning()
{
    return runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, 10000).out.contains("scheduler is running");
}

int jobNumber(const QString &file)
{
    static const QRegularExpression re(QStringLiteral("job_(\\d+)"));
    const auto m = re.match(file);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

CupsQueue::CupsQueue(const QString &name, const QString &outDir)
    : m_name(name), m_outDir(outDir), m_conf(QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(name))
{
    if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd")) || !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf"))) {
        m_skip = QStringLiteral("cupsd or the cups-pdf backend is not installed (scripts/deps installs them)");
        return;
    }
    if (!schedulerRunning()) {
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f")});
        if (!m_cupsd.waitForStarted(5000)) {
            m_skip = QStringLiteral("cupsd could not be started: ") + m_cupsd.errorString();
            return;
        }
        m_startedCupsd = true;
        QDeadlineTimer deadline(10000);
        while (!schedulerRunning() && !deadline.hasExpired() && m_cupsd.state() == QProcess::Running)
            QThread::msleep(100);
        if (!schedulerRunning()) {
            m_cupsd.waitForFinished(100);
            m_skip = QStringLiteral("cupsd did not start: ") + QString::fromUtf8(m_cupsd.readAll()).trimmed();
            return;
        }
    }
    QFile conf(m_conf);
    if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_skip = QStringLiteral("cannot write %1 (the cups-pdf queue needs root)").arg(m_conf);
        return;
    }
    conf.write("Out " + QFile::encodeName(m_outDir) + "\n");
    conf.close();
    const auto add = runTool(QStringLiteral("lpadmin"),
                             {QStringLiteral("-p"), m_name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/") + m_name,
                              QStringLiteral("-E"), QStringLiteral("-m"),
                              QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")});
    if (add.exitCode != 0) {
        m_skip = QStringLiteral("lpadmin could not add the cups-pdf queue: ") + QString::fromUtf8(add.err).trimmed();
        return;
    }
    m_added = true;
    const auto def = runTool(QStringLiteral("lpstat"), {QStringLiteral("-d")});
    if (!def.out.contains("system default destination:")) {
        runTool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), m_name});
        m_madeDefault = true;
    }
}

CupsQueue::~CupsQueue()
{
    if (m_added)
        runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_name});
    QFile::remove(m_conf);
    if (m_startedCupsd) {
        m_cupsd.terminate();   // SIGTERM to the cupsd this object started
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }
}

QStringList CupsQueue::waitForPdfs(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    QStringList done;
    for (;;) {
        QStringList files = QDir(m_outDir).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        std::sort(files.begin(), files.end(),
                  [](const QString &a, const QString &b) { return jobNumber(a) < jobNumber(b); });
        done.clear();
        for (const QString &f : files) {
            const QString path = m_outDir + u'/' + f;
            // Complete once poppler reads it.
            if (runTool(QStringLiteral("pdfinfo"), {path}, 10000).exitCode == 0)
                done << path;
        }
        if (done.size() >= count || deadline.hasExpired())
            return done;
        QThread::msleep(200);
    }
}

} // namespace etibarix::test
