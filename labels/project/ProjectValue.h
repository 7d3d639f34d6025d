#pragma once
// A property value of a report project stream, kept in the form it was
// stored in: the type byte tells which members are used.

#include <QByteArray>
#include <QList>

#include <optional>
#include <vector>

namespace etibarix::labels {

struct ProjectProperty;
struct ProjectObject;

class ProjectValue {
public:
    enum class Type : quint8 {
        Identifier = 0,      // text: enumeration, Boolean or component reference
        Integer = 1,         // integer >= 0
        NegativeInteger = 2, // integer < 0, stored as its magnitude
        Int32 = 3,           // integer
        Char = 4,            // text (one byte)
        Extended = 5,        // real
        String = 6,          // text
        Set = 7,             // names
        List = 8,            // list (nested property list)
        Names = 9,           // names (component names)
        Objects = 10,        // objects
    };

    Type type = Type::Integer;
    QByteArray text;
    qint64 integer = 0;
    double real = 0;
    QList<QByteArray> names;
    std::vector<ProjectProperty> list;
    std::vector<ProjectObject> objects;

    static ProjectValue identifier(const QByteArray &name);
    static ProjectValue boolean(bool on);
    static ProjectValue integerValue(qint64 v); // picks type 1, 2 or 3 as a writer would
    static ProjectValue extended(double v);
    static ProjectValue string(const QByteArray &s);

    // Numeric reading of any integer or real value.
    std::optional<double> toReal() const;
    std::optional<qint64> toInteger() const;
    // "True"/"False" identifiers, compared without regard to case.
    std::optional<bool> toBool() const;
    // Identifier or string text.
    std::optional<QByteArray> toText() const;
};

struct ProjectProperty {
    QByteArray name;
    ProjectValue value;
};

struct ProjectObject {
    QByteArray className;
    std::vector<ProjectProperty> properties;
};

// ASCII-only case-insensitive equality, as names are compared in projects.
bool sameName(QByteArrayView a, QByteArrayView b);

} // namespace etibarix::labels
