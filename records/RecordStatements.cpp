#include "records/RecordStatements.h"

#include "base/Error.h"
#include "i18n/LanguageTable.h"
#include "store/sql/Parser.h"

#include <variant>

namespace etibarix::records {
namespace {

const QByteArray dq("\"");

} // namespace

void RefuseDoubleQuote(const RecordEntry &entry)
{
    const struct {
        const QByteArray &text;
        i18n::Text label;
    } texts[] = {{entry.cb, i18n::Text::Barcode}, {entry.lib1, i18n::Text::Text1}, {entry.lib2, i18n::Text::Text2},
        {entry.topp, i18n::Text::Flag}};
    for (const auto &t : texts)
        if (t.text.contains('"'))
            throw base::Error(
                i18n::LangString(i18n::Text::DoubleQuoteNotStorable).arg(i18n::LangString(t.label).trimmed()));
}

QByteArray InsertStatement(std::int32_t num, const RecordEntry &e, QuoteRule rule)
{
    if (rule == QuoteRule::Refuse)
        RefuseDoubleQuote(e);
    return "INSERT INTO article (num,cb,lib1,lib2,quantite,topp)" + QByteArray(" VALUES (")
        + QByteArray::number(num) + "," + dq + e.cb + dq + "," + dq + e.lib1 + dq + ", " + dq + e.lib2 + dq + ", "
        + QByteArray::number(e.quantite) + ", " + dq + e.topp + dq + " " + ")";
}

PreparedInsert::PreparedInsert()
    : m_statement(std::get<store::sql::InsertStatement>(
        store::sql::Parser::parse(InsertStatement(0, RecordEntry{}, QuoteRule::Keep))))
{
}

const store::sql::InsertStatement &PreparedInsert::bind(std::int32_t num, const RecordEntry &e)
{
    // In the order of the columns of InsertStatement().
    std::vector<store::sql::Literal> &v = m_statement.values;
    v[0] = num;
    v[1] = e.cb;
    v[2] = e.lib1;
    v[3] = e.lib2;
    v[4] = e.quantite;
    v[5] = e.topp;
    return m_statement;
}

QByteArray UpdateStatement(std::int32_t num, const RecordEntry &e, QuoteRule rule)
{
    if (rule == QuoteRule::Refuse)
        RefuseDoubleQuote(e);
    return "UPDATE article " + QByteArray(" SET cb=") + dq + e.cb + dq + "," + " lib1=" + dq + e.lib1 + dq + ","
        + " lib2=" + dq + e.lib2 + dq + "," + " quantite=" + QByteArray::number(e.quantite) + ", " + " topp=" + dq
        + e.topp + dq + " WHERE num=" + QByteArray::number(num);
}

QByteArray DeleteStatement(std::int32_t num)
{
    return "delete from article where num=" + QByteArray::number(num);
}

QByteArray ToggleStatement(std::int32_t num, QByteArrayView newFlag)
{
    return "UPDATE article " + QByteArray(" SET topp=") + dq + newFlag.toByteArray() + dq + " WHERE num="
        + QByteArray::number(num);
}

QByteArray ToggledFlag(QByteArrayView current)
{
    return current == QByteArrayView("O") ? QByteArray("N") : QByteArray("O");
}

} // namespace etibarix::records
