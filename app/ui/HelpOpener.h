#pragma once
// The help button's work: ebk.chm when the desktop has a viewer for it,
// otherwise the HTML pages (help/index.html) in the web browser; when
// neither opens, a message box says where the help is.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace etibarix::app {

class HelpOpener {
public:
    // Asks the desktop to open a URL; false when nothing will show it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    enum class Outcome { HelpFile, HtmlPages, NotOpened };

    // folders: where the help is looked for, first match wins.
    explicit HelpOpener(QStringList folders = HelpFolders(), UrlOpener open = DesktopOpen);

    // Opens the help; after NotOpened a message box in the given language
    // (1 French, 2 English, 3 Portuguese) has told the user where it is.
    Outcome open(QWidget *parent, int language) const;
    // The same without the message box.
    Outcome tryOpen() const;

    // The text of that message box.
    QString notOpenedText(int language) const;

    // Beside the program, then share/etibarix of its installation and of the
    // system's data directories.
    static QStringList HelpFolders();
    // Opens a local file only when the desktop names a program for its type
    // (a .chm has none on most desktops; handing it over anyway shows nothing).
    static bool DesktopOpen(const QUrl &url);

private:
    QString find(const QString &name) const;

    QStringList m_folders;
    UrlOpener m_open;
};

} // namespace etibarix::app
