#include "records/ui/RecordGridModel.h"

#include "base/Cp1252.h"
#include "i18n/LanguageTable.h"
#include "store/Query.h"

#include <QPainter>
#include <QPixmap>

#include <exception>

namespace etibarix::records {
namespace {

struct ColumnDesign {
    const char *field;
    i18n::Text titleText;
    QRgb color;
    int width;
};

// num is hidden; quantite keeps the grid's default width.
constexpr ColumnDesign kColumns[RecordGridModel::ColumnCount] = {
    {"num", i18n::Text{}, 0xFFFFFF, 0},
    {"cb", i18n::Text::Barcode, 0xF0FBFF, 144},
    {"lib1", i18n::Text::Text1, 0xC0DCC0, 188},
    {"lib2", i18n::Text::Text2, 0xF0CAA6, 182},
    {"quantite", i18n::Text::QuantityColumn, 0xFF80C0, 0},
    {"topp", i18n::Text::FlagColumn, 0xD5D5FF, 47},
};

bool validColumn(int column)
{
    return column >= 0 && column < RecordGridModel::ColumnCount;
}

// The indicator column's mark of the current row: a small black triangle.
QPixmap currentRowMark()
{
    QPixmap pixmap(8, 9);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPointF points[] = {{1, 0.5}, {7, 4.5}, {1, 8.5}};
    painter.drawPolygon(points, 3);
    return pixmap;
}

} // namespace

RecordGridModel::RecordGridModel(store::Query &listQuery, QObject *parent)
    : QAbstractTableModel(parent), m_query(listQuery)
{
    m_resultColumn.fill(-1);
    ApplyTexts();
    mapColumns();
}

QByteArray RecordGridModel::FieldName(int column)
{
    return validColumn(column) ? QByteArray(kColumns[column].field) : QByteArray();
}

QColor RecordGridModel::ColumnColor(int column)
{
    return validColumn(column) ? QColor(kColumns[column].color) : QColor(Qt::white);
}

int RecordGridModel::ColumnWidth(int column)
{
    return validColumn(column) ? kColumns[column].width : 0;
}

i18n::Text RecordGridModel::TitleText(int column)
{
    return validColumn(column) ? kColumns[column].titleText : i18n::Text{};
}

void RecordGridModel::ApplyTexts()
{
    for (int c = ColCb; c < ColumnCount; ++c)
        m_titles[static_cast<std::size_t>(c)] = i18n::LangString(kColumns[c].titleText);
    m_titles[ColNum].clear();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

int RecordGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ColumnCount);
}

QVariant RecordGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validColumn(index.column()))
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::BackgroundRole:
        return ColumnColor(column);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::DisplayRole:
        break;
    default:
        return {};
    }
    // A cell that cannot be read shows an empty text, like every cell of an
    // empty result.
    const store::sql::ResultSet &result = m_query.result();
    const int row = index.row();
    const int source = m_resultColumn[static_cast<std::size_t>(column)];
    if (row < 0 || row >= result.rowCount() || source < 0)
        return QString();
    try {
        if (result.column(source).type == store::sql::ColumnType::Integer)
            return QString::number(result.integer(row, source));
        const QByteArrayView text = result.textView(row, source);
        if (column == ColTopp) {
            if (text == QByteArrayView("O"))
                return QStringLiteral("X");
            if (text == QByteArrayView("N"))
                return QStringLiteral(" ");
        }
        return base::fromCp1252(text);
    } catch (const std::exception &) {
        return QString();
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && validColumn(section))
            return m_titles[static_cast<std::size_t>(section)];
        return {};
    }
    // The indicator column: no number, a mark on the current row.
    if (role == Qt::DisplayRole)
        return QString();
    if (role == Qt::DecorationRole && section == m_currentRow) {
        static const QPixmap mark = currentRowMark();
        return mark;
    }
    return {};
}

bool RecordGridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || !validColumn(section) || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_titles[static_cast<std::size_t>(section)] = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;   // never editable
}

void RecordGridModel::mapColumns()
{
    const store::sql::ResultSet &result = m_query.result();
    for (int c = 0; c < ColumnCount; ++c)
        m_resultColumn[static_cast<std::size_t>(c)] = result.columnIndex(QByteArrayView(kColumns[c].field));
}

void RecordGridModel::BeginRefresh()
{
    beginResetModel();
}

void RecordGridModel::EndRefresh()
{
    mapColumns();
    m_rows = m_query.result().rowCount();
    m_currentRow = -1;
    endResetModel();
}

void RecordGridModel::RowChanged(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::DisplayRole});
}

void RecordGridModel::SetCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int old = m_currentRow;
    m_currentRow = row;
    if (old >= 0 && old < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

} // namespace etibarix::records
