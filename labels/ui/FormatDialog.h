#pragma once
// The dialog that defines a sheet format of the user's own: its name, page,
// grid, label size and pitch, bar height and lines. A drawing of the sheet
// follows every change; the first problem of the format shows under it, in
// the user's language, and OK stays disabled until there is none.

#include "labels/formats/SheetFormat.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace etibarix::labels {

class SheetPreview;

class FormatDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormatDialog(QWidget *parent = nullptr);

    // Shows the format in the controls.
    void setFormat(const SheetFormat &format);
    // The format as the controls stand.
    SheetFormat format() const;
    // Names the format must not take (the other custom formats).
    void setTakenNames(const QStringList &names);

    // The current problem text; empty when the format is valid.
    QString problemText() const;
    void retranslate();

    QLineEdit *nameEdit() const { return m_name; }
    QComboBox *pageCombo() const { return m_page; }
    QDoubleSpinBox *pageWidthBox() const { return m_pageWidth; }
    QDoubleSpinBox *pageHeightBox() const { return m_pageHeight; }
    QSpinBox *columnsBox() const { return m_columns; }
    QSpinBox *rowsBox() const { return m_rows; }
    QDoubleSpinBox *leftBox() const { return m_left; }
    QDoubleSpinBox *topBox() const { return m_top; }
    QDoubleSpinBox *labelWidthBox() const { return m_labelWidth; }
    QDoubleSpinBox *labelHeightBox() const { return m_labelHeight; }
    QDoubleSpinBox *pitchXBox() const { return m_pitchX; }
    QDoubleSpinBox *pitchYBox() const { return m_pitchY; }
    QDoubleSpinBox *barHeightBox() const { return m_barHeight; }
    QCheckBox *readableBox() const { return m_readable; }
    QSpinBox *textLinesBox() const { return m_textLines; }
    QDoubleSpinBox *fontSizeBox() const { return m_fontSize; }
    SheetPreview *preview() const { return m_preview; }
    QLabel *problemLabel() const { return m_problem; }
    QDialogButtonBox *buttons() const { return m_buttons; }

private:
    enum PageChoice { A4, Letter, Custom };
    void pageChosen(int index);
    void refresh();
    QDoubleSpinBox *lengthBox(const char *objectName, double maximum);

    QFormLayout *m_form = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_page = nullptr;
    QDoubleSpinBox *m_pageWidth = nullptr;
    QDoubleSpinBox *m_pageHeight = nullptr;
    QSpinBox *m_columns = nullptr;
    QSpinBox *m_rows = nullptr;
    QDoubleSpinBox *m_left = nullptr;
    QDoubleSpinBox *m_top = nullptr;
    QDoubleSpinBox *m_labelWidth = nullptr;
    QDoubleSpinBox *m_labelHeight = nullptr;
    QDoubleSpinBox *m_pitchX = nullptr;
    QDoubleSpinBox *m_pitchY = nullptr;
    QDoubleSpinBox *m_barHeight = nullptr;
    QCheckBox *m_readable = nullptr;
    QSpinBox *m_textLines = nullptr;
    QDoubleSpinBox *m_fontSize = nullptr;
    SheetPreview *m_preview = nullptr;
    QLabel *m_problem = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QStringList m_taken;
    bool m_filling = false;
};

} // namespace etibarix::labels
