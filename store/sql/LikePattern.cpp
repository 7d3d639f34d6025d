#include "store/sql/LikePattern.h"

#include "base/Wildcard.h"

namespace etibarix::store::sql {

LikePattern::LikePattern(QByteArray pattern) : m_pattern(std::move(pattern))
{
    // The patterns the program builds are "typed text" + "%": recognise the
    // plain shapes so that the common test is a single comparison.
    const qsizetype wild = [this] {
        for (qsizetype i = 0; i < m_pattern.size(); ++i)
            if (m_pattern.at(i) == '%' || m_pattern.at(i) == '_')
                return i;
        return qsizetype(-1);
    }();
    if (wild < 0) {
        m_shape = Shape::Exact;
        m_fixed = m_pattern;
        return;
    }
    bool onlyPercentAfter = true;
    for (qsizetype i = wild; i < m_pattern.size(); ++i)
        if (m_pattern.at(i) != '%')
            onlyPercentAfter = false;
    if (onlyPercentAfter) {
        m_shape = Shape::Prefix;
        m_fixed = m_pattern.left(wild);
    }
}

bool LikePattern::matches(QByteArrayView value) const
{
    switch (m_shape) {
    case Shape::Exact:
        return value == QByteArrayView(m_fixed);
    case Shape::Prefix:
        return value.startsWith(QByteArrayView(m_fixed));
    case Shape::General:
        break;
    }
    return base::matchesWildcard(QByteArrayView(m_pattern), value, '%', '_',
                                 [](char a, char b) { return a == b; });
}

} // namespace etibarix::store::sql
