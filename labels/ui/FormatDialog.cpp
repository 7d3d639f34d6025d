#include "labels/ui/FormatDialog.h"

#include "i18n/ui/FontApplier.h"
#include "i18n/ui/WindowFonts.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/SheetTexts.h"
#include "labels/ui/SheetPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace etibarix::labels {
namespace {

bool same(double a, double b)
{
    return std::abs(a - b) < 0.005;
}

} // namespace

FormatDialog::FormatDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormatDialog"));
    setModal(true);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("formatName"));
    m_name->setMaxLength(SheetFormatLimits::MaxNameLength + 1);
    m_page = new QComboBox(this);
    m_page->setObjectName(QStringLiteral("formatPage"));
    m_page->addItems({QString(), QString(), QString()});
    using L = SheetFormatLimits;
    m_pageWidth = lengthBox("formatPageWidth", L::MaxPageMm);
    m_pageHeight = lengthBox("formatPageHeight", L::MaxPageMm);
    m_columns = new QSpinBox(this);
    m_columns->setObjectName(QStringLiteral("formatColumns"));
    m_columns->setRange(1, L::MaxLabels);
    m_rows = new QSpinBox(this);
    m_rows->setObjectName(QStringLiteral("formatRows"));
    m_rows->setRange(1, L::MaxLabels);
    m_left = lengthBox("formatLeft", L::MaxPageMm);
    m_top = lengthBox("formatTop", L::MaxPageMm);
    m_labelWidth = lengthBox("formatLabelWidth", L::MaxPageMm);
    m_labelHeight = lengthBox("formatLabelHeight", L::MaxPageMm);
    m_pitchX = lengthBox("formatPitchX", L::MaxPageMm);
    m_pitchY = lengthBox("formatPitchY", L::MaxPageMm);
    m_barHeight = lengthBox("formatBarHeight", L::MaxPageMm);
    m_readable = new QCheckBox(this);
    m_readable->setObjectName(QStringLiteral("formatReadable"));
    m_textLines = new QSpinBox(this);
    m_textLines->setObjectName(QStringLiteral("formatTextLines"));
    m_textLines->setRange(0, 2);
    m_fontSize = new QDoubleSpinBox(this);
    m_fontSize->setObjectName(QStringLiteral("formatFontSize"));
    m_fontSize->setRange(1, 99);
    m_fontSize->setDecimals(1);
    m_preview = new SheetPreview(this);
    m_preview->setObjectName(QStringLiteral("formatPreview"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("formatProblem"));
    m_problem->setWordWrap(true);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("formatButtons"));

    m_form = new QFormLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_name, m_page, m_pageWidth, m_pageHeight, m_columns, m_rows,
                                                       m_left, m_top, m_labelWidth, m_labelHeight, m_pitchX, m_pitchY,
                                                       m_barHeight, m_textLines, m_fontSize})
        m_form->addRow(new QLabel(this), w);
    m_form->addRow(QString(), m_readable);
    // Tab follows the rows down: the check box comes last.
    setTabOrder(m_fontSize, m_readable);
    auto *right = new QVBoxLayout;
    right->addWidget(m_preview, 1);
    right->addWidget(m_problem);
    auto *top = new QHBoxLayout;
    top->addLayout(m_form);
    top->addLayout(right, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_page, &QComboBox::currentIndexChanged, this, &FormatDialog::pageChosen);
    connect(m_name, &QLineEdit::textChanged, this, &FormatDialog::refresh);
    connect(m_readable, &QCheckBox::toggled, this, &FormatDialog::refresh);
    for (QSpinBox *box : {m_columns, m_rows, m_textLines})
        connect(box, &QSpinBox::valueChanged, this, &FormatDialog::refresh);
    for (QDoubleSpinBox *box : {m_pageWidth, m_pageHeight, m_left, m_top, m_labelWidth, m_labelHeight, m_pitchX,
                                m_pitchY, m_barHeight, m_fontSize})
        connect(box, &QDoubleSpinBox::valueChanged, this, &FormatDialog::refresh);

    // The interface font, as on the program's other windows.
    const i18n::InterfaceFont font = i18n::ChooseInterfaceFont();
    i18n::FontApplier().ApplyToChildren(this, font.name, 0, font.charset);
    retranslate();
    SheetFormat start;
    start.name.clear();
    setFormat(start);
}

QDoubleSpinBox *FormatDialog::lengthBox(const char *objectName, double maximum)
{
    auto *box = new QDoubleSpinBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setRange(0, maximum);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

void FormatDialog::retranslate()
{
    setWindowTitle(i18n::LangString(i18n::Text::FormatDialogTitle));
    using i18n::Text;
    const Text labels[] = {Text::FormatName, Text::FormatPage, Text::PageWidth, Text::PageHeight,
                           Text::FormatColumns, Text::FormatRows, Text::FormatLeftMargin, Text::FormatTopMargin,
                           Text::FormatLabelWidth, Text::FormatLabelHeight, Text::FormatPitchX, Text::FormatPitchY,
                           Text::FormatBarHeight, Text::FormatTextLines, Text::FormatFontSize};
    for (int row = 0; row < int(std::size(labels)); ++row) {
        if (auto *label = qobject_cast<QLabel *>(m_form->itemAt(row, QFormLayout::LabelRole)->widget()))
            label->setText(i18n::LangString(labels[row]));
    }
    m_readable->setText(i18n::LangString(i18n::Text::FormatReadableLine));
    m_page->setItemText(A4, i18n::LangString(i18n::Text::PageA4));
    m_page->setItemText(Letter, i18n::LangString(i18n::Text::PageLetter));
    m_page->setItemText(Custom, i18n::LangString(i18n::Text::PageCustom));
    refresh();
}

void FormatDialog::setTakenNames(const QStringList &names)
{
    m_taken = names;
    refresh();
}

void FormatDialog::setFormat(const SheetFormat &f)
{
    m_filling = true;
    m_name->setText(f.name);
    const int page = same(f.pageWidthMm, A4WidthMm) && same(f.pageHeightMm, A4HeightMm)             ? A4
                   : same(f.pageWidthMm, LetterWidthMm) && same(f.pageHeightMm, LetterHeightMm) ? Letter
                                                                                                 : Custom;
    m_page->setCurrentIndex(page);
    m_pageWidth->setValue(f.pageWidthMm);
    m_pageHeight->setValue(f.pageHeightMm);
    m_pageWidth->setEnabled(page == Custom);
    m_pageHeight->setEnabled(page == Custom);
    m_columns->setValue(f.columns);
    m_rows->setValue(f.rows);
    m_left->setValue(f.leftMm);
    m_top->setValue(f.topMm);
    m_labelWidth->setValue(f.labelWidthMm);
    m_labelHeight->setValue(f.labelHeightMm);
    m_pitchX->setValue(f.pitchXMm);
    m_pitchY->setValue(f.pitchYMm);
    m_barHeight->setValue(f.barHeightMm);
    m_readable->setChecked(f.readableLine);
    m_textLines->setValue(f.textLines);
    m_fontSize->setValue(f.fontSizePt);
    m_filling = false;
    refresh();
}

SheetFormat FormatDialog::format() const
{
    SheetFormat f;
    f.name = m_name->text().trimmed();
    f.pageWidthMm = m_pageWidth->value();
    f.pageHeightMm = m_pageHeight->value();
    f.columns = m_columns->value();
    f.rows = m_rows->value();
    f.leftMm = m_left->value();
    f.topMm = m_top->value();
    f.labelWidthMm = m_labelWidth->value();
    f.labelHeightMm = m_labelHeight->value();
    f.pitchXMm = m_pitchX->value();
    f.pitchYMm = m_pitchY->value();
    f.barHeightMm = m_barHeight->value();
    f.readableLine = m_readable->isChecked();
    f.textLines = m_textLines->value();
    f.fontSizePt = m_fontSize->value();
    return f;
}

void FormatDialog::pageChosen(int index)
{
    const bool custom = index == Custom;
    m_pageWidth->setEnabled(custom);
    m_pageHeight->setEnabled(custom);
    if (m_filling || custom)
        return;
    m_filling = true;
    m_pageWidth->setValue(index == A4 ? A4WidthMm : LetterWidthMm);
    m_pageHeight->setValue(index == A4 ? A4HeightMm : LetterHeightMm);
    m_filling = false;
    refresh();
}

QString FormatDialog::problemText() const
{
    const auto problem = CheckSheetFormat(format(), m_taken);
    return problem ? sheetProblemText(*problem) : QString();
}

void FormatDialog::refresh()
{
    if (m_filling)
        return;
    const SheetFormat f = format();
    const QString problem = problemText();
    m_problem->setText(problem.isEmpty() ? i18n::LangString(i18n::Text::FormatValidLabels).arg(f.slotCount()) : problem);
    m_problem->setStyleSheet(problem.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    m_preview->setFormat(f);
}

} // namespace etibarix::labels
