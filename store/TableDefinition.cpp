#include "store/TableDefinition.h"

#include "base/Error.h"

#include <QList>
#include <QString>

namespace etibarix::store {

std::vector<FieldDef> TableDefinition::newFields() const
{
    const auto invalid = [] { return base::Error(QStringLiteral("Invalid dBASE field definition [CreateDBF]")); };
    std::vector<FieldDef> fields;
    int offset = 1;
    for (const QByteArray &line : fieldLines) {
        const QList<QByteArray> parts = line.split(',');
        if (parts.size() != 4)
            throw invalid();
        FieldDef f;
        f.name = parts[0].trimmed().left(10).toUpper();
        const QByteArray type = parts[1].trimmed().toUpper();
        bool okW = false;
        bool okD = false;
        f.width = parts[2].trimmed().toInt(&okW);
        f.decimals = parts[3].trimmed().toInt(&okD);
        if (f.name.isEmpty() || type.size() != 1 || !okW || !okD || f.width <= 0 || f.width > 255)
            throw invalid();
        f.type = type[0];
        if (f.type != 'N' && f.type != 'F')
            f.decimals = 0;
        f.offset = offset;
        offset += f.width;
        fields.push_back(f);
    }
    if (fields.empty())
        throw invalid();
    return fields;
}

} // namespace etibarix::store
