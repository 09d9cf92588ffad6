#pragma once
#include "platform/Errors.h"
#include <QString>

// What a failed system call leaves behind: the error code, the operation and the path it was about.
// Each subsystem turns these into its user texts in one place; errnoText() is the one errno-to-text.
namespace plat::posix {

// The system's text for an errno value, in the user's locale.
QString errnoText(int code);

struct SysError {
    int code = 0;
    QString op;      // what was being done: "open", "read", "write", "rename", ...
    QString path;    // the file it was done to
    explicit operator bool() const { return code != 0; }
    // "<op> <path>: <reason>", for logs and the command line.
    QString describe() const;
};

// An engine error that keeps the failed call.
class ESysError : public EOrvoError {
public:
    ESysError(const SysError& e, const QString& message) : EOrvoError(message), m_error(e) {}
    const SysError& error() const { return m_error; }
private:
    SysError m_error;
};

} // namespace plat::posix
