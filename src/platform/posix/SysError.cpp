#include "platform/posix/SysError.h"
#include <cstring>

namespace plat::posix {

QString errnoText(int code)
{
    char buf[256];
    // GNU strerror_r returns the text, which may or may not be in buf.
    const char* s = ::strerror_r(code, buf, sizeof buf);
    return QString::fromLocal8Bit(s);
}

QString SysError::describe() const
{
    return op + u' ' + path + QStringLiteral(": ") + errnoText(code);
}

} // namespace plat::posix
