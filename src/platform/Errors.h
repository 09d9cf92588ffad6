#pragma once
#include <stdexcept>
#include <QString>

// Base of every engine exception; what() carries the UTF-8 text shown in the error box.
class EOrvoError : public std::runtime_error {
public:
    explicit EOrvoError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};
