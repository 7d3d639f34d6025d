#pragma once
// Puts one interface font name on the controls of a window, by kind of
// control: group boxes, labels, picture buttons, tab pages, radio buttons,
// combo and list boxes, check boxes, grids, tool buttons and edits marked as
// having an attached label get it; plain edits, plain push buttons, page controls, panels, pictures and the windows
// themselves keep theirs.

#include <QString>

class QLineEdit;
class QObject;
class QWidget;

namespace etibarix::i18n {

class Tgerefonte {
public:
    // Walks the children of the container depth first, in their order. The
    // container's own font is not touched. size 0 leaves sizes unchanged.
    // The character set has no counterpart in a Unicode toolkit: font
    // matching by name already picks the glyphs a text needs.
    void ApplyToChildren(QObject *container, const QString &name, int size, int charset) const;
    void ApplyToControl(QWidget *control, const QString &name, int size, int charset) const;

    // Marks an edit box as one with an attached label (its caption belongs
    // to it): such an edit takes the font, unlike a plain one.
    static void MarkLabeledEdit(QLineEdit *edit);
    static bool IsLabeledEdit(const QWidget *widget);

private:
    void Walk(QObject *container, const QString &name, int size, int charset) const;
};

} // namespace etibarix::i18n
