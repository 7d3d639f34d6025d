#include "store/sql/LikePattern.h"

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
    // Greedy walk that backtracks to the last "%": linear for the patterns
    // the program builds, never worse than value length x pattern length.
    const char *p = m_pattern.constData();
    const qsizetype m = m_pattern.size();
    const qsizetype n = value.size();
    qsizetype i = 0, j = 0, star = -1, mark = 0;
    while (i < n) {
        if (j < m && p[j] == '%') {
            star = j++;
            mark = i;
        } else if (j < m && (p[j] == '_' || p[j] == value[i])) {
            ++i;
            ++j;
        } else if (star >= 0) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < m && p[j] == '%')
        ++j;
    return j == m;
}

} // namespace etibarix::store::sql
