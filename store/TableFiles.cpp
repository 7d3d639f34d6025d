#include "store/TableFiles.h"

#include "base/DataDir.h"

#include <QDir>
#include <QFile>

namespace etibarix::store {
namespace {
QString g_programDir;
}

const TableDefinition &ArticleDefinition()
{
    static const TableDefinition definition{
        {"num, N, 5, 0", "cb, C, 50, 0", "lib1, C, 100, 0", "lib2, C, 100, 0", "quantite, N, 3, 0", "topp, C, 2, 0"},
        {"CB", "cb"},
    };
    return definition;
}

QString ProgramDir()
{
    return g_programDir;
}

void OpenArticleTable(store::Table &table)
{
    g_programDir = base::DataDir();
    // DataDir ends with "/": the doubled separator names the same file.
    table.setFileName(g_programDir + QStringLiteral("/article.dbf"));
    table.open();
}

void CloseArticleTable(store::Table &table)
{
    try {
        table.close();
    } catch (...) {
        // Closing is best effort: nothing is left to do about a failure.
    }
}

void DeleteArticleFiles(store::Table &table)
{
    CloseArticleTable(table);
    const QString dir = base::DataDir();
    QFile::remove(dir + QStringLiteral("/article.dbf"));
    // The index may be spelt article.mdx, article.MDX or any other way.
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.compare(QStringLiteral("article.mdx"), Qt::CaseInsensitive) == 0)
            QFile::remove(dir + name);
    }
}

} // namespace etibarix::store
