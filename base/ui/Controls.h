#pragma once
// Small makers for the controls of the program's windows: each control is
// created with its object name, as the window files and the tests know it.

#include "base/ui/Pictures.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QToolButton>

namespace etibarix::ui {

inline constexpr QSize TopIconSize(28, 28);
inline constexpr QSize ButtonIconSize(22, 22);

template <typename T>
T *named(T *widget, const char16_t *name)
{
    widget->setObjectName(QString::fromUtf16(name));
    return widget;
}

// A flat button of the top row: a picture, and text beside it when given.
inline QToolButton *toolButton(QWidget *parent, const char16_t *name, Picture picture, const QString &text,
                               const QString &hint)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(PictureIcon(picture));
    button->setIconSize(TopIconSize);
    button->setAutoRaise(true);
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    return button;
}

inline QPushButton *pictureButton(QWidget *parent, const char16_t *name, Picture picture, const QString &text,
                                  const QString &hint = QString())
{
    auto *button = named(new QPushButton(PictureIcon(picture), text, parent), name);
    button->setIconSize(ButtonIconSize);
    button->setToolTip(hint);
    return button;
}

inline QRadioButton *radio(QWidget *parent, const char16_t *name, const QString &text, bool checked = false)
{
    auto *button = named(new QRadioButton(text, parent), name);
    button->setChecked(checked);
    return button;
}

inline QGroupBox *group(QWidget *parent, const char16_t *name, const QString &title)
{
    return named(new QGroupBox(title, parent), name);
}

} // namespace etibarix::ui
