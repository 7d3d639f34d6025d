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

template <typename T>
T *control(const QWidget *window, const char16_t *name)
{
    return window->findChild<T *>(QString::fromUtf16(name));
}

void setCaption(const QWidget *window, const char16_t *name, int text)
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

void setHint(const QWidget *window, const char16_t *name, int text)
{
    if (auto *widget = control<QWidget>(window, name))
        widget->setToolTip(i18n::LangString(text));
}

// A page's caption is its tab's text in the page control that holds it.
void setTabCaption(const QWidget *window, const char16_t *name, int text)
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
void setEditLabel(const QWidget *window, const char16_t *name, int text)
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

void setColumnTitle(QTableView *grid, int column, int text)
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
        setColumnTitle(grid, 1, 45);
        setColumnTitle(grid, 2, 46);
        setColumnTitle(grid, 3, 47);
        setColumnTitle(grid, 4, 122);
        setColumnTitle(grid, 5, 121);
        // Models that fetch their titles when asked need a nudge to repaint.
        if (grid->model() != nullptr && grid->model()->columnCount() > 0)
            grid->horizontalHeader()->headerDataChanged(Qt::Horizontal, 0, grid->model()->columnCount() - 1);
    }
    setHint(window, u"spCharge", 1);
    setHint(window, u"spSauve", 2);
    setCaption(window, u"sbinfos", 4);
    setHint(window, u"sbinfos", 5);
    setCaption(window, u"spAide", 6);
    setHint(window, u"spAide", 7);
    setTabCaption(window, u"Tabcompte", 8);
    setTabCaption(window, u"Tabachatremb", 9);
    setTabCaption(window, u"tabpara", 10);
    setCaption(window, u"gbcritere", 11);
    setEditLabel(window, u"TexCb", 12);
    setEditLabel(window, u"text1", 13);
    setEditLabel(window, u"text2", 14);
    setCaption(window, u"gbtop", 15);
    setCaption(window, u"sAjout", 16);
    setHint(window, u"sAjout", 17);
    setCaption(window, u"smodif", 18);
    setHint(window, u"smodif", 19);
    setCaption(window, u"bimport", 20);
    setHint(window, u"bimport", 21);
    setHint(window, u"SpeedButton1", 22);
    setCaption(window, u"gpImp", 23);
    setCaption(window, u"Labtypeeti", 24);
    setCaption(window, u"topimpTexte1", 25);
    setCaption(window, u"topimpTexte2", 26);
    setCaption(window, u"gbcritsup", 27);
    setCaption(window, u"Ratoutefiche", 28);
    setCaption(window, u"Rafichem", 29);
    setCaption(window, u"gbpcodbar", 30);
    setCaption(window, u"btimprime", 31);
    setHint(window, u"Squitter", 32);
    setTabCaption(window, u"tabopdiv", 33);
    setCaption(window, u"btappliquer", 34);
    setCaption(window, u"gpopexe", 35);
    setCaption(window, u"sdetruiretoutedonnee", 36);
    setCaption(window, u"Ratop", 115);
    setCaption(window, u"ranontop", 116);
    setCaption(window, u"Ratoutes", 117);
    setCaption(window, u"majoutcompte", 16);
    setCaption(window, u"mvisumodifcompte", 18);
    setCaption(window, u"msupprimecompte", 118);
    setCaption(window, u"ssupprime", 118);
    setHint(window, u"ssupprime", 119);
    setCaption(window, u"Changerletop1", 120);
    setCaption(window, u"Gimprimante", 137);
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
