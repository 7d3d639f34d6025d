#include "i18n/ui/FontApplier.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <exception>

namespace etibarix::i18n {
namespace {

void setFontName(QWidget *widget, const QString &name, int size)
{
    QFont font = widget->font();
    font.setFamilies({name});
    if (size != 0)
        font.setPointSize(size);
    widget->setFont(font);
}

bool isTabPage(const QWidget *widget)
{
    const QWidget *stack = widget->parentWidget();
    return stack != nullptr && qobject_cast<const QStackedWidget *>(stack) != nullptr
           && qobject_cast<const QTabWidget *>(stack->parentWidget()) != nullptr;
}

// Controls of the kinds that keep their font would still inherit it from a
// page or a group: pin their present face first.
void pinKeptFonts(QObject *container)
{
    const auto widgets = container->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        bool keep = false;
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            keep = qobject_cast<QComboBox *>(edit->parentWidget()) == nullptr && !FontApplier::IsLabelledEdit(edit);
        else if (auto *button = qobject_cast<QPushButton *>(widget))
            keep = button->icon().isNull();
        if (keep) {
            QFont font = widget->font();
            font.setFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
            widget->setFont(font);
        }
    }
}

} // namespace

void FontApplier::ApplyToChildren(QObject *container, const QString &name, int size, int charset) const
{
    if (container == nullptr)
        return;
    try {
        pinKeptFonts(container);
    } catch (const std::exception &) {
        return;
    }
    Walk(container, name, size, charset);
}

void FontApplier::Walk(QObject *container, const QString &name, int size, int charset) const
{
    try {
        const QObjectList children = container->children();
        for (QObject *child : children) {
            auto *control = qobject_cast<QWidget *>(child);
            if (control == nullptr || control->isWindow())
                continue;
            ApplyToControl(control, name, size, charset);
            // A status bar keeps its font, its panel lines included.
            if (qobject_cast<QStatusBar *>(control) != nullptr)
                continue;
            if (!control->children().isEmpty())
                Walk(control, name, size, charset);
        }
    } catch (const std::exception &) {
        // An error ends the walk of this container only.
    }
}

void FontApplier::ApplyToControl(QWidget *control, const QString &name, int size, int /*charset*/) const
{
    try {
        if (qobject_cast<QGroupBox *>(control))
            setFontName(control, name, size);
        if (auto *label = qobject_cast<QLabel *>(control); label && label->pixmap().isNull())
            setFontName(control, name, size);
        if (qobject_cast<QLineEdit *>(control) && IsLabelledEdit(control))
            setFontName(control, name, size);
        if (auto *button = qobject_cast<QPushButton *>(control); button && !button->icon().isNull())
            setFontName(control, name, size);
        if (isTabPage(control))
            setFontName(control, name, size);
        if (qobject_cast<QRadioButton *>(control))
            setFontName(control, name, size);
        if (qobject_cast<QComboBox *>(control))
            setFontName(control, name, size);
        if (qobject_cast<QListView *>(control))
            setFontName(control, name, size);
        if (qobject_cast<QCheckBox *>(control))
            setFontName(control, name, size);
        if (auto *grid = qobject_cast<QTableView *>(control)) {
            setFontName(grid, name, size);
            setFontName(grid->horizontalHeader(), name, size);
        }
        if (qobject_cast<QToolButton *>(control))
            setFontName(control, name, size);
    } catch (const std::exception &) {
        // A font that cannot be set leaves the control as it was.
    }
}

void FontApplier::MarkLabelledEdit(QWidget *edit)
{
    if (edit != nullptr)
        edit->setProperty("labelledEdit", true);
}

bool FontApplier::IsLabelledEdit(const QWidget *edit)
{
    return edit != nullptr && edit->property("labelledEdit").toBool();
}

} // namespace etibarix::i18n
