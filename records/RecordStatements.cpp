#include "records/RecordStatements.h"

#include "base/Error.h"

namespace etibarix::records {
namespace {

const QByteArray dq("\"");

} // namespace

void RefuseDoubleQuote(const RecordEntry &entry)
{
    const struct {
        const QByteArray &text;
        const char *label;
    } texts[] = {{entry.cb, "the barcode"}, {entry.lib1, "text 1"}, {entry.lib2, "text 2"}, {entry.topp, "the flag"}};
    for (const auto &t : texts)
        if (t.text.contains('"'))
            throw base::Error(QStringLiteral("A double quote (\") cannot be stored: remove it from %1.")
                                 .arg(QLatin1StringView(t.label)));
}

QByteArray InsertStatement(std::int32_t num, const RecordEntry &e, QuoteRule rule)
{
    if (rule == QuoteRule::Refuse)
        RefuseDoubleQuote(e);
    return "INSERT INTO article (num,cb,lib1,lib2,quantite,topp)" + QByteArray(" VALUES (")
        + QByteArray::number(num) + "," + dq + e.cb + dq + "," + dq + e.lib1 + dq + ", " + dq + e.lib2 + dq + ", "
        + QByteArray::number(e.quantite) + ", " + dq + e.topp + dq + " " + ")";
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
