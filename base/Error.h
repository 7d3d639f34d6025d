#pragma once
// The error that the components raise: it carries the text the user is shown.
// Handlers that must stay silent catch it and drop it; the rest reach the
// program's general error handler (the GUI's message box, the CLI's stderr).

#include <QString>

#include <exception>

namespace etibarix::base {

class Error : public std::exception {
public:
    explicit Error(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace etibarix::base
