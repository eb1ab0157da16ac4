#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the program: it carries the text that the user sees in the
// error box. Handlers let it travel up to the error-box helper of the window.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};
