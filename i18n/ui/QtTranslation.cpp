#include "i18n/ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace etibarix::i18n {

bool ApplyQtTranslation(int language)
{
    static QTranslator *installed = nullptr;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    QString file;
    if (language == 1)
        file = QStringLiteral("qtbase_fr");
    else if (language == 3)
        file = QStringLiteral("qtbase_pt_BR");
    else
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

} // namespace etibarix::i18n
