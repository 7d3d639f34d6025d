#pragma once
// The LIKE test: "%" matches any run of bytes (the empty one included), "_"
// exactly one byte, every other byte only itself (letter case included). The
// whole value must match the whole pattern; there is no escape character.

#include <QByteArray>
#include <QByteArrayView>

namespace etibarix::store::sql {

class LikePattern {
public:
    explicit LikePattern(QByteArray pattern);
    bool matches(QByteArrayView value) const;

private:
    enum class Shape { Exact, Prefix, General };
    QByteArray m_pattern;
    QByteArray m_fixed;   // Exact: the whole text; Prefix: the text before the % run
    Shape m_shape = Shape::General;
};

} // namespace etibarix::store::sql
