#include "labels/project/ProjectValue.h"

namespace etibarix::labels {

ProjectValue ProjectValue::identifier(const QByteArray &name)
{
    ProjectValue v;
    v.type = Type::Identifier;
    v.text = name;
    return v;
}

ProjectValue ProjectValue::boolean(bool on)
{
    return identifier(on ? QByteArrayLiteral("True") : QByteArrayLiteral("False"));
}

ProjectValue ProjectValue::integerValue(qint64 value)
{
    ProjectValue v;
    v.integer = value;
    constexpr qint64 cintMax = (qint64(1) << 28) - 1;
    if (value > cintMax || value < -cintMax)
        v.type = Type::Int32;
    else
        v.type = value < 0 ? Type::NegativeInteger : Type::Integer;
    return v;
}

ProjectValue ProjectValue::extended(double value)
{
    ProjectValue v;
    v.type = Type::Extended;
    v.real = value;
    return v;
}

ProjectValue ProjectValue::string(const QByteArray &s)
{
    ProjectValue v;
    v.type = Type::String;
    v.text = s;
    return v;
}

std::optional<double> ProjectValue::toReal() const
{
    if (type == Type::Extended)
        return real;
    if (auto i = toInteger())
        return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<qint64> ProjectValue::toInteger() const
{
    switch (type) {
    case Type::Integer:
    case Type::NegativeInteger:
    case Type::Int32:
        return integer;
    default:
        return std::nullopt;
    }
}

std::optional<bool> ProjectValue::toBool() const
{
    if (type != Type::Identifier)
        return std::nullopt;
    if (sameName(text, "True"))
        return true;
    if (sameName(text, "False"))
        return false;
    return std::nullopt;
}

std::optional<QByteArray> ProjectValue::toText() const
{
    if (type == Type::Identifier || type == Type::String || type == Type::Char)
        return text;
    return std::nullopt;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace etibarix::labels
