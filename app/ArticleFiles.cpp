#include "app/ArticleFiles.h"

#include "app/AppDir.h"

#include <QDir>
#include <QFile>

namespace etibarix::app {
namespace {
QString g_programDir;
}

QString ProgramDir()
{
    return g_programDir;
}

void OpenArticleTable(store::DbfTable &table)
{
    g_programDir = AppDir();
    // AppDir ends with "/": the doubled separator names the same file.
    table.setFileName(g_programDir + QStringLiteral("/article.dbf"));
    table.open();
}

void CloseArticleTable(store::DbfTable &table)
{
    try {
        table.close();
    } catch (...) {
        // Closing is best effort: nothing is left to do about a failure.
    }
}

void DeleteArticleFiles(store::DbfTable &table)
{
    CloseArticleTable(table);
    const QString dir = AppDir();
    QFile::remove(dir + QStringLiteral("/article.dbf"));
    // The index may be spelt article.mdx, article.MDX or any other way.
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.compare(QStringLiteral("article.mdx"), Qt::CaseInsensitive) == 0)
            QFile::remove(dir + name);
    }
}

} // namespace etibarix::app
