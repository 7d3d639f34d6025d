#include "labels/ui/CalibrationDialog.h"

#include "i18n/ui/FontApplier.h"
#include "i18n/ui/WindowFonts.h"
#include "i18n/LanguageTable.h"
#include "labels/formats/SheetTexts.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace etibarix::labels {

CalibrationDialog::CalibrationDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CalibrationDialog"));
    setModal(true);
    m_printer = new QLabel(this);
    m_printer->setObjectName(QStringLiteral("calibrationPrinter"));
    m_hint = new QLabel(this);
    m_hint->setWordWrap(true);
    m_xLabel = new QLabel(this);
    m_yLabel = new QLabel(this);
    const auto box = [this](const char *name) {
        auto *b = new QDoubleSpinBox(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setRange(-Calibration::Limit, Calibration::Limit);
        b->setSingleStep(Calibration::Step);
        b->setDecimals(1);
        b->setSuffix(QStringLiteral(" mm"));
        return b;
    };
    m_x = box("offsetX");
    m_y = box("offsetY");
    m_xLabel->setBuddy(m_x);
    m_yLabel->setBuddy(m_y);
    m_test = new QPushButton(this);
    m_test->setObjectName(QStringLiteral("printTestSheet"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *grid = new QGridLayout;
    grid->addWidget(m_xLabel, 0, 0);
    grid->addWidget(m_x, 0, 1);
    grid->addWidget(m_yLabel, 1, 0);
    grid->addWidget(m_y, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_printer);
    layout->addWidget(m_hint);
    layout->addLayout(grid);
    layout->addWidget(m_test);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_test, &QPushButton::clicked, this, [this] {
        if (m_testSheet)
            m_testSheet(offset());
    });
    // The interface font, as on the program's other windows.
    const i18n::InterfaceFont font = i18n::ChooseInterfaceFont();
    i18n::FontApplier().ApplyToChildren(this, font.name, 0, font.charset);
    retranslate();
}

void CalibrationDialog::setPrinter(const QString &name, PrinterOffset offset)
{
    m_printerName = name;
    m_x->setValue(offset.x);
    m_y->setValue(offset.y);
    retranslate();
}

PrinterOffset CalibrationDialog::offset() const
{
    return {Calibration::normalised(m_x->value()), Calibration::normalised(m_y->value())};
}

void CalibrationDialog::retranslate()
{
    setWindowTitle(i18n::LangString(i18n::Text::CalibratePrinterTitle));
    m_printer->setText(i18n::LangString(i18n::Text::CalibrationPrinter)
                           .arg(m_printerName.isEmpty() ? i18n::LangString(i18n::Text::DefaultPrinterName) : m_printerName));
    m_hint->setText(i18n::LangString(i18n::Text::CalibrationHint));
    m_xLabel->setText(i18n::LangString(i18n::Text::HorizontalOffset));
    m_yLabel->setText(i18n::LangString(i18n::Text::VerticalOffset));
    m_test->setText(i18n::LangString(i18n::Text::PrintTestSheet));
}

} // namespace etibarix::labels
