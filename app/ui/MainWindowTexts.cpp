#include "app/ui/MainWindowTexts.h"

#include "i18n/LanguageTable.h"
#include "i18n/ui/QtTranslation.h"
#include "labels/formats/LabelFormats.h"
#include "labels/ui/LabelFormatCombo.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

namespace etibarix::app {
namespace {

using i18n::Text;

template <typename T>
T *control(const QWidget *window, const char16_t *name)
{
    return window->findChild<T *>(QString::fromUtf16(name));
}

void setCaption(const QWidget *window, const char16_t *name, i18n::Text text)
{
    const QString caption = i18n::LangString(text);
    QObject *object = window->findChild<QObject *>(QString::fromUtf16(name));
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        button->setText(caption);
    else if (auto *group = qobject_cast<QGroupBox *>(object))
        group->setTitle(caption);
    else if (auto *label = qobject_cast<QLabel *>(object))
        label->setText(caption);
    else if (auto *action = qobject_cast<QAction *>(object))
        action->setText(caption);
}

void setHint(const QWidget *window, const char16_t *name, i18n::Text text)
{
    if (auto *widget = control<QWidget>(window, name))
        widget->setToolTip(i18n::LangString(text));
}

// A page's caption is its tab's text in the page control that holds it.
void setTabCaption(const QWidget *window, const char16_t *name, i18n::Text text)
{
    auto *page = control<QWidget>(window, name);
    if (page == nullptr)
        return;
    for (QWidget *up = page->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(up)) {
            const int index = tabs->indexOf(page);
            if (index >= 0)
                tabs->setTabText(index, i18n::LangString(text));
            return;
        }
    }
}

// The label attached to an edit is the label whose buddy it is.
void setEditLabel(const QWidget *window, const char16_t *name, i18n::Text text)
{
    auto *edit = control<QLineEdit>(window, name);
    if (edit == nullptr)
        return;
    const auto labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->buddy() == edit)
            label->setText(i18n::LangString(text));
    }
}

void setColumnTitle(QTableView *grid, int column, i18n::Text text)
{
    QAbstractItemModel *model = grid->model();
    if (model == nullptr || column >= model->columnCount())
        return;
    model->setHeaderData(column, Qt::Horizontal, i18n::LangString(text), Qt::DisplayRole);
}

} // namespace

void ApplyMainWindowTexts(QWidget *window, labels::LabelFormats &formats)
{
    if (window == nullptr)
        return;
    i18n::ApplyQtTranslation(i18n::CurrentLanguage());

    if (auto *combo = control<QComboBox>(window, u"CombListeEtiquette"))
        labels::FillLabelFormatCombo(*combo, formats);
    else
        formats.BuildLabelFormats();

    if (auto *grid = control<QTableView>(window, u"s")) {
        setColumnTitle(grid, 1, Text::Barcode);
        setColumnTitle(grid, 2, Text::Text1);
        setColumnTitle(grid, 3, Text::Text2);
        setColumnTitle(grid, 4, Text::QuantityColumn);
        setColumnTitle(grid, 5, Text::FlagColumn);
        // Models that fetch their titles when asked need a nudge to repaint.
        if (grid->model() != nullptr && grid->model()->columnCount() > 0)
            grid->horizontalHeader()->headerDataChanged(Qt::Horizontal, 0, grid->model()->columnCount() - 1);
    }
    setHint(window, u"spCharge", Text::LoadBackupHint);
    setHint(window, u"spSauve", Text::SaveBackupHint);
    setCaption(window, u"sbinfos", Text::AboutCaption);
    setHint(window, u"sbinfos", Text::AboutHint);
    setCaption(window, u"spAide", Text::HelpCaption);
    setHint(window, u"spAide", Text::HelpHint);
    setTabCaption(window, u"Tabcompte", Text::RecordsTab);
    setTabCaption(window, u"Tabachatremb", Text::PrintingTab);
    setTabCaption(window, u"tabpara", Text::ParametersTab);
    setCaption(window, u"gbcritere", Text::CriteriaGroup);
    setEditLabel(window, u"TexCb", Text::BarcodeCriterion);
    setEditLabel(window, u"text1", Text::Text1Criterion);
    setEditLabel(window, u"text2", Text::Text2Criterion);
    setCaption(window, u"gbtop", Text::FlagCriterionGroup);
    setCaption(window, u"sAjout", Text::Add);
    setHint(window, u"sAjout", Text::AddHint);
    setCaption(window, u"smodif", Text::ViewModify);
    setHint(window, u"smodif", Text::ViewModifyHint);
    setCaption(window, u"bimport", Text::Import);
    setHint(window, u"bimport", Text::ImportHint);
    setHint(window, u"SpeedButton1", Text::RefreshHint);
    setCaption(window, u"gpImp", Text::PrintSettingsGroup);
    setCaption(window, u"Labtypeeti", Text::LabelFormatCaption);
    setCaption(window, u"topimpTexte1", Text::PrintText1);
    setCaption(window, u"topimpTexte2", Text::PrintText2);
    setCaption(window, u"gbcritsup", Text::PrintSelectionGroup);
    setCaption(window, u"Ratoutefiche", Text::PrintAllRecords);
    setCaption(window, u"Rafichem", Text::PrintMatchingRecords);
    setCaption(window, u"gbpcodbar", Text::PrintGroup);
    setCaption(window, u"btimprime", Text::StartPrinting);
    setHint(window, u"Squitter", Text::QuitHint);
    setTabCaption(window, u"tabopdiv", Text::VariousOperationsPage);
    setCaption(window, u"btappliquer", Text::Apply);
    setCaption(window, u"gpopexe", Text::ExceptionalOperationGroup);
    setCaption(window, u"sdetruiretoutedonnee", Text::ResetAllData);
    setCaption(window, u"Ratop", Text::FlaggedRecords);
    setCaption(window, u"ranontop", Text::UnflaggedRecords);
    setCaption(window, u"Ratoutes", Text::AllRecords);
    setCaption(window, u"majoutcompte", Text::Add);
    setCaption(window, u"mvisumodifcompte", Text::ViewModify);
    setCaption(window, u"msupprimecompte", Text::Delete);
    setCaption(window, u"ssupprime", Text::Delete);
    setHint(window, u"ssupprime", Text::DeleteHint);
    setCaption(window, u"Changerletop1", Text::ToggleFlag);
    setCaption(window, u"Gimprimante", Text::Printer);
}

void CheckLanguageButtons(QWidget *window, int language)
{
    if (auto *button = control<QRadioButton>(window, u"lfrancais"))
        button->setChecked(true);
    if (language == 2) {
        if (auto *button = control<QRadioButton>(window, u"langlais"))
            button->setChecked(true);
    } else if (language == 3) {
        if (auto *button = control<QRadioButton>(window, u"lportugais"))
            button->setChecked(true);
    }
}

int CheckedLanguage(const QWidget *window)
{
    int language = 1;
    const auto checked = [window](const char16_t *name) {
        auto *button = control<QRadioButton>(window, name);
        return button != nullptr && button->isChecked();
    };
    if (checked(u"lfrancais"))
        language = 1;
    if (checked(u"langlais"))
        language = 2;
    if (checked(u"lportugais"))
        language = 3;
    return language;
}

} // namespace etibarix::i18n
