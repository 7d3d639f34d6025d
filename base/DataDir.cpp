#include "base/DataDir.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace etibarix::base {
namespace {
QString g_override;
}

QString DataDir()
{
    if (!g_override.isEmpty())
        return g_override;
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    if (exe.isEmpty())
        exe = QCoreApplication::applicationFilePath();
    // Cut after the last separator, never examining the last character.
    for (qsizetype i = exe.size() - 2; i >= 0; --i) {
        if (exe[i] == u'/' || exe[i] == u':')
            return exe.left(i + 1);
    }
    return QStringLiteral("./");
}

void setDataDirOverride(const QString &dir)
{
    g_override = dir;
    if (!g_override.isEmpty() && !g_override.endsWith(u'/'))
        g_override += u'/';
}

} // namespace etibarix::base
