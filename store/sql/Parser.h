#pragma once
// Recursive-descent parser of the statement dialect:
//
//   select * from T [where COND] [order by KEY {, KEY}]
//   select max(C) as A from T
//   insert into T (C {, C}) values (V {, V})
//   update T set C = V {, C = V} where COND
//   delete from T where COND
//   COND := PRED {and PRED}
//   PRED := C like STRING | C = (STRING | INT) | C > INT
//         | length(C) (> | =) INT
//   KEY  := C [desc]          V := STRING | [-] INT
//
// Keywords and names are read without regard to letter case. Anything else
// is refused with " syntax error at line : L, Column: C, token: T".

#include "store/sql/Ast.h"

#include <QByteArrayView>

namespace etibarix::store::sql {

class Parser {
public:
    // Throws base::Error with the syntax error text; an empty (or blank)
    // statement gives "SQL statement cannot be empty".
    static Statement parse(QByteArrayView text);
};

} // namespace etibarix::store::sql
