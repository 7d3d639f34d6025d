#pragma once
// The record list's criteria and sort state. The criteria are what the user
// typed (Windows-1252, untrimmed); the sort state lives for the whole run and
// changes only by title clicks.

#include <QByteArray>

namespace etibarix::records {

// The three radio buttons of the top-flag criterion.
enum class TopChoice {
    All,        // Ratoutes: no condition on the flag
    Flagged,    // Ratop: topp = "O"
    Unflagged,  // ranontop: topp = "N"
};

struct ListState {
    QByteArray criteriaCb;      // TexCb: barcode begins with
    QByteArray criteriaText1;   // text1: text 1 begins with
    QByteArray criteriaText2;   // text2: text 2 begins with
    TopChoice top = TopChoice::All;
    // 0 num, 1 cb, 2 lib1, 3 lib2, 4 quantite, 5 topp.
    int SortColumn = 0;
    bool SortDescending = false;
};

} // namespace etibarix::records
