#include "app/ui/ParametersTab.h"

#include "base/ui/Controls.h"
#include "base/ui/Pictures.h"
#include "i18n/LanguageTable.h"
#include "i18n/Text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace etibarix::app {

using i18n::Text;

using ui::DrawPicture;
using ui::group;
using ui::named;
using ui::Picture;
using ui::pictureButton;
using ui::radio;

ParametersTab::ParametersTab(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabpara"));
    m_pageParametres = named(new QTabWidget(this), u"PageParametres");
    m_tabopdiv = named(new QWidget, u"tabopdiv");
    m_pageParametres->addTab(m_tabopdiv, QStringLiteral("Opérations Diverses"));

    m_gLangue = group(m_tabopdiv, u"GLangue", QStringLiteral("Langue"));
    auto *languageLayout = new QGridLayout(m_gLangue);
    languageLayout->setHorizontalSpacing(10);
    m_lfrancais = radio(m_gLangue, u"lfrancais", QStringLiteral("Français"), true);
    m_langlais = radio(m_gLangue, u"langlais", QStringLiteral("English"));
    m_lportugais = radio(m_gLangue, u"lportugais", QStringLiteral("Portugues"));
    const struct {
        QRadioButton *button;
        Picture flag;
    } choices[] = {
        {m_lfrancais, Picture::FlagFrance},
        {m_langlais, Picture::FlagUnitedKingdom},
        {m_lportugais, Picture::FlagPortugal},
    };
    for (int row = 0; row < 3; ++row) {
        m_flags[row] = new QLabel(m_gLangue);
        m_flags[row]->setObjectName(QStringLiteral("imgdrapeau%1").arg(row + 1));
        m_flags[row]->setPixmap(DrawPicture(choices[row].flag, 32));
        languageLayout->addWidget(m_flags[row], row, 0);
        languageLayout->addWidget(choices[row].button, row, 1);
    }
    m_btappliquer = pictureButton(m_gLangue, u"btappliquer", Picture::Apply, QStringLiteral("Appliquer"));
    languageLayout->addWidget(m_btappliquer, 0, 2, 3, 1, Qt::AlignVCenter);
    languageLayout->setColumnStretch(3, 1);

    m_gpopexe = group(m_tabopdiv, u"gpopexe", QStringLiteral("Opération exceptionnelle"));
    m_sdetruiretoutedonnee = pictureButton(m_gpopexe, u"sdetruiretoutedonnee", Picture::Reset,
                                           QStringLiteral("Reinitialiser toutes les données"));
    auto *exceptionalLayout = new QHBoxLayout(m_gpopexe);
    exceptionalLayout->addWidget(m_sdetruiretoutedonnee);
    exceptionalLayout->addStretch(1);

    auto *variousLayout = new QVBoxLayout(m_tabopdiv);
    variousLayout->addWidget(m_gLangue);
    variousLayout->addWidget(m_gpopexe);
    variousLayout->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pageParametres);

    connect(m_btappliquer, &QPushButton::clicked, this, &ParametersTab::applyLanguage);
    connect(m_sdetruiretoutedonnee, &QPushButton::clicked, this, &ParametersTab::resetData);
}

void ParametersTab::retranslate()
{
    using i18n::LangString;
    m_pageParametres->setTabText(m_pageParametres->indexOf(m_tabopdiv), LangString(Text::VariousOperationsPage));
    m_btappliquer->setText(LangString(Text::Apply));
    m_gpopexe->setTitle(LangString(Text::ExceptionalOperationGroup));
    m_sdetruiretoutedonnee->setText(LangString(Text::ResetAllData));
}

void ParametersTab::checkLanguage(int language)
{
    m_lfrancais->setChecked(true);
    if (language == 2)
        m_langlais->setChecked(true);
    else if (language == 3)
        m_lportugais->setChecked(true);
}

int ParametersTab::checkedLanguage() const
{
    if (m_lportugais->isChecked())
        return 3;
    if (m_langlais->isChecked())
        return 2;
    return 1;
}

void ParametersTab::hideLanguageGroup()
{
    m_gLangue->hide();
}

} // namespace etibarix::app
