#pragma once
// The thirteen label formats and the sorted list the label format combo shows.
//
// Each entry has a display text built from the language texts (cut to 100
// characters), the report that lays out its sheet and the number of labels on
// one sheet. The list's items are the display text, 200 spaces and the entry
// number, kept in ascending order by a case-insensitive locale comparison; the
// spaces push the number out of sight and SelectedLabelFormat() reads it back
// from the item's last three characters.

#include <QByteArray>
#include <QCollator>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "labels/formats/SheetFormat.h"

#include <array>
#include <optional>
#include <vector>

namespace etibarix::labels {

struct LabelFormat {
    QByteArray displayText;   // language text bytes, at most 100
    QByteArray reportName;
    int labelsPerPage = 0;
};

class LabelFormats {
public:
    static constexpr int Count = 13;
    static constexpr int DisplayTextLimit = 100;
    static constexpr int NumberPadding = 200;

    // Items are compared in the given locale (the system's by default).
    explicit LabelFormats(const QLocale &locale = QLocale::system());

    // Builds the entries in the current language, refills the list and
    // selects position 0.
    void BuildLabelFormats();

    // Entry n (1..13), or nullptr.
    const LabelFormat *Entry(int n) const;
    // Report name and labels per sheet of entry n, which do not depend on
    // the language; empty and 0 outside 1..13.
    static QByteArray ReportName(int n);
    static int LabelsPerPage(int n);

    // The user's own formats, read from formats.json by BuildLabelFormats:
    // entries 14 upwards in the file's order, listed after the built-in
    // formats (not sorted among them) with their name as display text, so
    // the positions of the built-in formats never move.
    const std::vector<SheetFormat> &customFormats() const { return m_custom; }
    // What is wrong with formats.json, in the language of the last build;
    // empty when the file is fine or absent.
    const QString &customFormatsError() const { return m_customError; }
    // The custom format of entry n, or nullptr.
    const SheetFormat *CustomFormat(int n) const;
    // Labels on one sheet of entry n, built-in or custom; 0 when none.
    int SlotCount(int n) const;
    // The sheet of entry n: the custom format, or the built-in sheet.
    std::optional<SheetFormat> Sheet(int n) const;
    // The entry a --format value names: a built-in entry number 1..13, or
    // a custom format's name compared without regard to case; -1 when none.
    int EntryNamed(const QString &name) const;

    // The list, in sorted order.
    const QStringList &Items() const { return m_items; }
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    // Adds an item at its sorted place; returns its position.
    int AddItem(const QString &item);
    void ClearItems();

    // The selected position, -1 when none.
    int SelectedPosition() const { return m_selected; }
    // Any position outside the list means no selection.
    void SetSelectedPosition(int position);

    // The entry number of the selected item; -1 when nothing is selected or
    // its last three characters are not a number.
    int SelectedLabelFormat() const;
    // The entry number an item ends with, -1 when it ends with no number.
    static int EntryNumberOfItem(const QString &item);
    // The part of an item that the user sees (without the padding and number).
    static QString DisplayPartOfItem(const QString &item);

private:
    QCollator m_collator;
    std::array<LabelFormat, Count> m_entries;
    std::vector<SheetFormat> m_custom;
    QString m_customError;
    QStringList m_items;
    int m_selected = -1;
};

} // namespace etibarix::labels
