#pragma once
// Opening, closing and deleting the record table files in the program
// directory.

#include "store/DbfTable.h"

#include <QString>

namespace etibarix::app {

// The program directory as taken by the last OpenArticleTable; the help
// button builds its path from it.
QString ProgramDir();

// Sets ProgramDir to AppDir(), names the table AppDir() + "/article.dbf" and
// opens it (creating the file and its index when missing). Errors reach the
// caller.
void OpenArticleTable(store::DbfTable &table);

// Closes the table; any error is ignored.
void CloseArticleTable(store::DbfTable &table);

// Closes the table, then deletes article.dbf and its index (whatever the
// letter case of the index name). A deletion that fails is not reported.
void DeleteArticleFiles(store::DbfTable &table);

} // namespace etibarix::app
