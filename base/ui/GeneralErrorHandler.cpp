#include "base/ui/GeneralErrorHandler.h"

#include "base/Error.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace etibarix::ui {

QString GeneralErrorHandler::BoxText(const QString &text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.')
        return text + u'.';
    return text;
}

void GeneralErrorHandler::Show(const QString &text, QWidget *parent)
{
    if (parent == nullptr)
        parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Etibarix"), BoxText(text), QMessageBox::Ok, parent);
    box.exec();
}

void GeneralErrorHandler::Run(const std::function<void()> &handler, QWidget *parent)
{
    try {
        handler();
    } catch (const base::Error &error) {
        Show(error.text(), parent);
    } catch (const std::exception &error) {
        Show(QString::fromLocal8Bit(error.what()), parent);
    }
}

} // namespace etibarix::ui
