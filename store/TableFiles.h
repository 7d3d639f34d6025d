#pragma once
// Opening, closing and deleting the record table files in the program
// directory.

#include "store/Table.h"

#include <QString>

namespace etibarix::store {

// The record table `article`: its six fields and the index tag "CB" on cb.
const TableDefinition &ArticleDefinition();

// The program directory as taken by the last OpenArticleTable; the help
// button builds its path from it.
QString ProgramDir();

// Sets ProgramDir to DataDir(), names the table DataDir() + "/article.dbf" and
// opens it (creating the file and its index when missing). Errors reach the
// caller.
void OpenArticleTable(store::Table &table);

// Closes the table; any error is ignored.
void CloseArticleTable(store::Table &table);

// Closes the table, then deletes article.dbf and its index (whatever the
// letter case of the index name). A deletion that fails is not reported.
void DeleteArticleFiles(store::Table &table);

} // namespace etibarix::store
