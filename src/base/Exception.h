#pragma once
// The general exception of the program: a message text, nothing else. Set-up
// failures ("Couldn't open comm port", "InitDevs failure: 1", ...) are raised
// as this class; each boundary derives its own small family from it (the link's
// EPelkException, the logger's ELogIFException).
#include <QString>

#include <exception>
#include <string>

namespace Quorvel1 {

class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : message_(std::move(message)), utf8_(message_.toStdString()) {}

    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

} // namespace Quorvel1
