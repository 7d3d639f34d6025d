#pragma once
// Puts one interface font name on the controls of a window, by kind of
// control: group boxes, labels, edits with an attached label, picture
// buttons, tab pages, radio buttons, combo and list boxes, check boxes, grids
// and tool buttons get it; plain edits, plain push buttons, page controls,
// panels, pictures and the windows themselves keep theirs.

#include <QString>

class QLineEdit;
class QObject;
class QWidget;

namespace etibarix::i18n {

class FontApplier {
public:
    // Walks the children of the container depth first, in their order. The
    // container's own font is not touched. size 0 leaves sizes unchanged.
    // The character set has no counterpart in a Unicode toolkit: font
    // matching by name already picks the glyphs a text needs.
    void ApplyToChildren(QObject *container, const QString &name, int size, int charset) const;
    void ApplyToControl(QWidget *control, const QString &name, int size, int charset) const;

    // Marks an edit as one whose label belongs to it (a criteria edit), so it
    // takes the interface font like its label; other edits keep theirs.
    static void MarkLabelledEdit(QWidget *edit);
    static bool IsLabelledEdit(const QWidget *edit);

private:
    void Walk(QObject *container, const QString &name, int size, int charset) const;
};

} // namespace etibarix::i18n
