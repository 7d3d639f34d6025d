#pragma once
// The statements of the record list and of the print selection, composed by
// plain concatenation exactly as the grid and the sheets expect them (the
// blanks matter: the texts are compared in tests and the same criteria text
// feeds both).

#include "records/ListState.h"

#include <QByteArray>
#include <QByteArrayView>

namespace etibarix::records {

// Throws base::Error, naming the criterion as its label does, when a typed
// criterion holds a double quote: the statement has no way to hold one, so it
// would end the text early and fail as a syntax error.
void RefuseQuotedCriteria(const ListState &state);

// The criteria without the word "where"; empty when no criterion is set.
// Typed texts are placed as they are: a "%" or "_" acts as a wildcard.
QByteArray CriteriaClause(const ListState &state);

// The order part of the list statement ("order by num", " order by cb desc", ...).
QByteArray ListSortText(const ListState &state);
// The same for the print selection, whose descending word has a leading blank.
QByteArray PrintSortText(const ListState &state);

// The list statement: "select * from article " + W + O.
QByteArray ListStatement(const ListState &state);

enum class PrintSelection {
    AllRecords,        // every record with a quantity and a barcode, in record order
    MatchingRecords,   // as the list, restricted the same way, in the list's order
};
QByteArray PrintStatement(const ListState &state, PrintSelection selection);

// A click on the title of the column showing fieldName: the first click sorts
// ascending by that column, the next one descending, and so on; another
// column starts ascending. A name that is no sort column changes no column.
void ApplyTitleClick(ListState &state, QByteArrayView fieldName);

} // namespace etibarix::records
