#include "labels/formats/LabelFormats.h"

#include "i18n/LanguageTable.h"
#include "labels/formats/CustomFormats.h"

#include <algorithm>

namespace etibarix::labels {
namespace {

struct Layout {
    const char *prefix;     // literal text before the language text
    i18n::Text text;
    const char *suffix;     // literal text after it
    const char *report;
    int labelsPerPage;
};

constexpr Layout Layouts[LabelFormats::Count] = {
    {"Page 12 ", i18n::Text::LabelsPrefix, "", "etiquette1", 12},
    {"L7159 (24 ", i18n::Text::LabelsPrefix, " : 3X8)", "etiquette2", 24},
    {"L7160 (21 ", i18n::Text::LabelsPrefix, " : 3X7)", "etiquette3", 21},
    {"L7161 (18 ", i18n::Text::LabelsPrefix, " : 3X6)", "etiquette4", 18},
    {"", i18n::Text::Format24Labels, "", "etiquette5", 24},
    {"", i18n::Text::Format21Labels, "", "etiquette6", 21},
    {"", i18n::Text::Format18Labels, "", "etiquette7", 18},
    {"", i18n::Text::Format15Labels, "", "etiquette8", 15},
    {"", i18n::Text::Format44Labels, "", "etiquette9", 44},
    {"L7654 ", i18n::Text::Format40Labels, "", "etiquette10", 40},
    {"", i18n::Text::FormatViking21Labels, "", "etiquette11", 21},
    {"", i18n::Text::Format65Labels, "", "etiquette12", 65},
    {"", i18n::Text::Format80Labels, "", "etiquette13", 80},
};

} // namespace

LabelFormats::LabelFormats(const QLocale &locale) : m_collator(locale)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void LabelFormats::BuildLabelFormats()
{
    for (int i = 0; i < Count; ++i) {
        const Layout &layout = Layouts[i];
        QByteArray text = layout.prefix + i18n::LangText(layout.text) + layout.suffix;
        text.truncate(DisplayTextLimit);
        m_entries[i] = LabelFormat{text, QByteArray(layout.report), layout.labelsPerPage};
    }
    ClearItems();
    for (int i = 0; i < Count; ++i) {
        AddItem(i18n::DecodeLanguageText(m_entries[i].displayText) + QString(NumberPadding, u' ')
                + QString::number(i + 1));
    }
    CustomFormatsLoad custom = CustomFormats::Load(CustomFormats::DefaultPath());
    m_custom = std::move(custom.formats);
    m_customError = custom.error;
    for (int i = 0; i < int(m_custom.size()); ++i) {
        m_items.append(m_custom[std::size_t(i)].name.left(DisplayTextLimit) + QString(NumberPadding, u' ')
                       + QString::number(CustomFormats::FirstEntry + i));
    }
    SetSelectedPosition(0);
}

const SheetFormat *LabelFormats::CustomFormat(int n) const
{
    const int index = n - CustomFormats::FirstEntry;
    return index >= 0 && index < int(m_custom.size()) ? &m_custom[std::size_t(index)] : nullptr;
}

int LabelFormats::SlotCount(int n) const
{
    if (const SheetFormat *custom = CustomFormat(n))
        return custom->slotCount();
    return LabelsPerPage(n);
}

std::optional<SheetFormat> LabelFormats::Sheet(int n) const
{
    if (const SheetFormat *custom = CustomFormat(n))
        return *custom;
    return BuiltinSheet(n);
}

int LabelFormats::EntryNamed(const QString &name) const
{
    bool number = false;
    const int entry = name.trimmed().toInt(&number);
    if (number)
        return entry >= 1 && entry <= Count ? entry : -1;
    for (int i = 0; i < int(m_custom.size()); ++i) {
        if (m_custom[std::size_t(i)].name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return CustomFormats::FirstEntry + i;
    }
    return -1;
}

const LabelFormat *LabelFormats::Entry(int n) const
{
    return n >= 1 && n <= Count ? &m_entries[n - 1] : nullptr;
}

QByteArray LabelFormats::ReportName(int n)
{
    return n >= 1 && n <= Count ? QByteArray(Layouts[n - 1].report) : QByteArray();
}

int LabelFormats::LabelsPerPage(int n)
{
    return n >= 1 && n <= Count ? Layouts[n - 1].labelsPerPage : 0;
}

int LabelFormats::AddItem(const QString &item)
{
    // After any equal items, as a sorted list inserts.
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), item,
        [this](const QString &a, const QString &b) { return m_collator.compare(a, b) < 0; });
    const auto position = static_cast<int>(at - m_items.begin());
    m_items.insert(position, item);
    if (m_selected >= position)
        ++m_selected;
    return position;
}

void LabelFormats::ClearItems()
{
    m_items.clear();
    m_selected = -1;
}

void LabelFormats::SetSelectedPosition(int position)
{
    m_selected = position >= 0 && position < ItemCount() ? position : -1;
}

int LabelFormats::SelectedLabelFormat() const
{
    if (m_selected < 0)
        return -1;
    return EntryNumberOfItem(m_items.at(m_selected));
}

int LabelFormats::EntryNumberOfItem(const QString &item)
{
    if (item.size() < 3)
        return -1;
    // Leading spaces allowed, then digits to the end.
    const QStringView last = QStringView(item).right(3);
    qsizetype i = 0;
    while (i < last.size() && last[i] == u' ')
        ++i;
    if (i == last.size())
        return -1;
    int value = 0;
    for (; i < last.size(); ++i) {
        if (last[i] < u'0' || last[i] > u'9')
            return -1;
        value = value * 10 + (last[i].unicode() - u'0');
    }
    return value;
}

QString LabelFormats::DisplayPartOfItem(const QString &item)
{
    qsizetype digits = 0;
    while (digits < item.size() && item.at(item.size() - 1 - digits).isDigit())
        ++digits;
    const qsizetype start = item.size() - digits - NumberPadding;
    if (digits == 0 || start < 0)
        return item;
    const QStringView padding = QStringView(item).mid(start, NumberPadding);
    if (!std::all_of(padding.begin(), padding.end(), [](QChar c) { return c == u' '; }))
        return item;
    return item.left(start);
}

} // namespace etibarix::labels
