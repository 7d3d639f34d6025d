#include "i18n/ui/LanguageChoiceDialog.h"

#include "base/ui/Pictures.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace etibarix::i18n {

LanguageChoiceDialog::LanguageChoiceDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fchoixlangue"));
    setModal(true);

    auto *group = m_groupBox1 = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(12);

    struct Choice {
        const char16_t *name;
        ui::Picture flag;
        QRadioButton **button;
    };
    const Choice choices[] = {
        {u"lfrancais", ui::Picture::FlagFrance, &m_lfrancais},
        {u"langlais", ui::Picture::FlagUnitedKingdom, &m_langlais},
        {u"lportugais", ui::Picture::FlagPortugal, &m_lportugais},
    };
    int row = 0;
    for (const Choice &choice : choices) {
        auto *flag = m_images[row] = new QLabel(group);
        flag->setObjectName(QStringLiteral("Image%1").arg(row + 1));
        flag->setPixmap(ui::DrawPicture(choice.flag, 32));
        auto *button = new QRadioButton(group);
        button->setObjectName(QString::fromUtf16(choice.name));
        *choice.button = button;
        grid->addWidget(flag, row, 0);
        grid->addWidget(button, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    m_lfrancais->setChecked(true);

    auto *boutok = m_boutok = new QPushButton(ui::PictureIcon(ui::Picture::Ok), QString(), this);
    boutok->setObjectName(QStringLiteral("boutok"));
    boutok->setDefault(true);
    boutok->setMinimumWidth(90);
    connect(boutok, &QPushButton::clicked, this, &LanguageChoiceDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(boutok, 0, Qt::AlignHCenter);

    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(9, 4, 9, 4);
    // A fixed border around the designed client area.
    setFixedSize(288, 175);
    retranslate();
}

void LanguageChoiceDialog::retranslate()
{
    // Shown before any language is chosen: each language names itself.
    setWindowTitle(QStringLiteral("Langue / Language selection"));
    m_lfrancais->setText(QStringLiteral("Français"));
    m_langlais->setText(QStringLiteral("English"));
    m_lportugais->setText(QStringLiteral("Portugais"));
    m_boutok->setText(QStringLiteral("OK"));
}

int LanguageChoiceDialog::ChosenLanguage() const
{
    int language = 1;
    if (m_lfrancais->isChecked())
        language = 1;
    if (m_langlais->isChecked())
        language = 2;
    if (m_lportugais->isChecked())
        language = 3;
    return language;
}

} // namespace etibarix::i18n
