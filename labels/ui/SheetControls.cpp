#include "labels/ui/SheetControls.h"

#include "base/Error.h"
#include "labels/formats/CustomFormats.h"
#include "labels/formats/LabelFormats.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/SheetTexts.h"
#include "labels/printer/PrinterSink.h"
#include "labels/ui/CalibrationDialog.h"
#include "labels/ui/FormatDialog.h"
#include "labels/ui/LabelFormatCombo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace etibarix::labels {

SheetControls::SheetControls(QWidget *parent, LabelFormats &formats, QComboBox &formatCombo, QComboBox &printerCombo)
    : QObject(parent), m_parent(parent), m_formats(formats), m_formatCombo(formatCombo), m_printerCombo(printerCombo)
{
    const auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    m_startCaption = new QLabel(parent);
    m_start = new QSpinBox(parent);
    named(m_start, "startLabel");
    m_start->setRange(1, 1);
    m_startCaption->setBuddy(m_start);
    m_fit = new QCheckBox(parent);
    named(m_fit, "shrinkToFit");
    m_calibrate = new QPushButton(parent);
    named(m_calibrate, "calibratePrinter");
    m_new = new QPushButton(parent);
    named(m_new, "newFormat");
    m_edit = new QPushButton(parent);
    named(m_edit, "editFormat");
    m_delete = new QPushButton(parent);
    named(m_delete, "deleteFormat");

    connect(&m_formatCombo, &QComboBox::currentIndexChanged, this, &SheetControls::formatChanged);
    connect(m_calibrate, &QPushButton::clicked, this, &SheetControls::calibrateClick);
    connect(m_new, &QPushButton::clicked, this, &SheetControls::newFormatClick);
    connect(m_edit, &QPushButton::clicked, this, &SheetControls::editFormatClick);
    connect(m_delete, &QPushButton::clicked, this, &SheetControls::deleteFormatClick);
    retranslate();
    formatChanged();
}

int SheetControls::startSlot() const
{
    return m_start->value();
}

bool SheetControls::shrinkToFit() const
{
    return m_fit->isChecked();
}

void SheetControls::applyTo(PrintJobSettings &settings) const
{
    settings.startSlot = startSlot();
    settings.shrinkToFit = shrinkToFit();
    if (const SheetFormat *custom = m_formats.CustomFormat(settings.formatEntry))
        settings.customFormat = *custom;
    else
        settings.customFormat.reset();
}

void SheetControls::jobFinished(bool ok)
{
    if (ok)
        m_start->setValue(1);
}

int SheetControls::selectedEntry() const
{
    return SelectedLabelFormat(m_formatCombo);
}

QString SheetControls::printerName() const
{
    return m_printerCombo.currentIndex() >= 0 ? m_printerCombo.currentText() : QString();
}

void SheetControls::formatChanged()
{
    const int entry = selectedEntry();
    m_start->setMaximum(std::max(1, m_formats.SlotCount(entry)));
    const bool custom = m_formats.CustomFormat(entry) != nullptr;
    m_edit->setEnabled(custom);
    m_delete->setEnabled(custom);
}

void SheetControls::retranslate()
{
    m_startCaption->setText(i18n::LangString(i18n::Text::StartAtLabel));
    m_fit->setText(i18n::LangString(i18n::Text::ShrinkToFit));
    m_calibrate->setText(i18n::LangString(i18n::Text::CalibratePrinterButton));
    m_new->setText(i18n::LangString(i18n::Text::NewFormat));
    m_edit->setText(i18n::LangString(i18n::Text::EditFormat));
    m_delete->setText(i18n::LangString(i18n::Text::DeleteFormat));
}

void SheetControls::report(const QString &text) const
{
    if (m_error)
        m_error(text);
}

void SheetControls::calibrateClick()
{
    // The printer the sheets go to: the chosen one, else the default one.
    const QString chosen = printerName();
    const QString printer = chosen.isEmpty() ? PrinterSink::resolvePrinter(chosen) : chosen;
    Calibration calibration;
    CalibrationDialog dialog(m_parent);
    dialog.setPrinter(printer, calibration.offset(printer));
    const int entry = selectedEntry();
    dialog.setTestSheetPrinter([this, entry, printer](PrinterOffset offset) {
        if (!m_testSheet)
            return;
        try {
            m_testSheet(entry, printer, offset);
        } catch (const base::Error &e) {
            report(e.text());
        }
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        calibration.setOffset(printer, dialog.offset());
    } catch (const base::Error &e) {
        report(e.text());
    }
}

bool SheetControls::saveFormats(const std::vector<SheetFormat> &formats, int select)
{
    try {
        CustomFormats::Save(CustomFormats::DefaultPath(), formats);
    } catch (const base::Error &e) {
        report(e.text());
        return false;
    }
    FillLabelFormatCombo(m_formatCombo, m_formats);
    for (int i = 0; i < m_formatCombo.count(); ++i) {
        if (LabelFormats::EntryNumberOfItem(m_formatCombo.itemText(i)) == select) {
            m_formatCombo.setCurrentIndex(i);
            break;
        }
    }
    formatChanged();
    Q_EMIT formatsChanged();
    return true;
}

void SheetControls::newFormatClick()
{
    FormatDialog dialog(m_parent);
    QStringList taken;
    for (const SheetFormat &f : m_formats.customFormats())
        taken << f.name;
    if (int(m_formats.customFormats().size()) >= CustomFormats::MaxCount) {
        report(i18n::LangString(i18n::Text::FormatsFileTooMany).arg(CustomFormats::MaxCount));
        return;
    }
    dialog.setTakenNames(taken);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<SheetFormat> formats = m_formats.customFormats();
    formats.push_back(dialog.format());
    saveFormats(formats, CustomFormats::FirstEntry + int(formats.size()) - 1);
}

void SheetControls::editFormatClick()
{
    const int entry = selectedEntry();
    const SheetFormat *current = m_formats.CustomFormat(entry);
    if (!current)
        return;
    const int index = entry - CustomFormats::FirstEntry;
    QStringList taken;
    for (int i = 0; i < int(m_formats.customFormats().size()); ++i) {
        if (i != index)
            taken << m_formats.customFormats()[std::size_t(i)].name;
    }
    FormatDialog dialog(m_parent);
    dialog.setTakenNames(taken);
    dialog.setFormat(*current);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<SheetFormat> formats = m_formats.customFormats();
    formats[std::size_t(index)] = dialog.format();
    saveFormats(formats, entry);
}

void SheetControls::deleteFormatClick()
{
    const int entry = selectedEntry();
    const SheetFormat *current = m_formats.CustomFormat(entry);
    if (!current)
        return;
    if (m_question && !m_question(i18n::LangString(i18n::Text::DeleteFormatQuestion).arg(current->name)))
        return;
    std::vector<SheetFormat> formats = m_formats.customFormats();
    formats.erase(formats.begin() + (entry - CustomFormats::FirstEntry));
    saveFormats(formats, -1);
}

} // namespace etibarix::labels
