#include "records/ListStatements.h"

#include "base/Error.h"
#include "i18n/LanguageTable.h"
#include <QStringBuilder>

namespace etibarix::records {
namespace {

void addItem(QByteArray &c, bool &placed, const QByteArray &item)
{
    if (placed)
        c += " and ";
    c += item;
    placed = true;
}

QByteArray sortText(const ListState &state, const QByteArray &d)
{
    switch (state.SortColumn) {
    case 1: return " order by cb " + d;
    case 2: return " order by lib1 " + d;
    case 3: return " order by lib2 " + d;
    case 4: return " order by quantite " + d + " , cb";
    case 5: return " order by topp " + d + " , cb ";
    default: return "order by num";
    }
}

} // namespace

void RefuseQuotedCriteria(const ListState &state)
{
    const struct {
        const QByteArray &typed;
        i18n::Text label;
    } criteria[] = {{state.criteriaCb, i18n::Text::BarcodeCriterion}, {state.criteriaText1, i18n::Text::Text1Criterion},
        {state.criteriaText2, i18n::Text::Text2Criterion}};
    for (const auto &c : criteria)
        if (c.typed.contains('"'))
            throw base::Error(i18n::LangString(i18n::Text::DoubleQuoteInCriterion).arg(i18n::LangString(c.label).trimmed()));
}

QByteArray CriteriaClause(const ListState &state)
{
    QByteArray c;
    bool placed = false;
    if (!state.criteriaCb.isEmpty())
        addItem(c, placed, " cb like \"" + state.criteriaCb + "%\"");
    if (!state.criteriaText1.isEmpty())
        addItem(c, placed, " lib1 like \"" + state.criteriaText1 + "%\"");
    if (!state.criteriaText2.isEmpty())
        addItem(c, placed, " lib2 like \"" + state.criteriaText2 + "%\"");
    if (state.top == TopChoice::Flagged)
        addItem(c, placed, " topp=\"O\"");
    if (state.top == TopChoice::Unflagged)
        addItem(c, placed, " topp=\"N\"");
    return c;
}

QByteArray ListSortText(const ListState &state)
{
    return sortText(state, state.SortDescending ? QByteArray("desc") : QByteArray());
}

QByteArray PrintSortText(const ListState &state)
{
    return sortText(state, state.SortDescending ? QByteArray(" desc") : QByteArray());
}

QByteArray ListStatement(const ListState &state)
{
    const QByteArray c = CriteriaClause(state);
    const QByteArray w = c.isEmpty() ? QByteArray() : " where " + c;
    return "select * from article " + w + ListSortText(state);
}

QByteArray PrintStatement(const ListState &state, PrintSelection selection)
{
    QByteArray w;
    if (selection == PrintSelection::AllRecords) {
        w = " where  quantite>0 and length(cb)>0 ";
    } else {
        const QByteArray c = CriteriaClause(state);
        w = c.isEmpty() ? QByteArray(" where quantite > 0 and length(cb)>0 ")
                        : " where " + c + " and quantite>0 and length(cb)>0 ";
        w += " " + PrintSortText(state);
    }
    return "select * from article" + w;
}

void ApplyTitleClick(ListState &state, QByteArrayView fieldName)
{
    const int previous = state.SortColumn;
    const QByteArray name = fieldName.trimmed().toByteArray().toLower();
    if (name == "cb")
        state.SortColumn = 1;
    else if (name == "lib1")
        state.SortColumn = 2;
    else if (name == "lib2")
        state.SortColumn = 3;
    else if (name == "quantite")
        state.SortColumn = 4;
    else if (name == "topp")
        state.SortColumn = 5;
    state.SortDescending = state.SortColumn == previous ? !state.SortDescending : false;
}

} // namespace etibarix::records
