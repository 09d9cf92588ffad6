#include "platform/posix/Executable.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/PathCodec.h"
#include <sys/stat.h>
#include <unistd.h>

namespace plat::posix {

bool isExecutable(const QString& path)
{
    const QByteArray p = encodePath(path);
    struct stat st;
    return !p.isEmpty() && ::stat(p.constData(), &st) == 0 && S_ISREG(st.st_mode) && ::access(p.constData(), X_OK) == 0;
}

bool isElfProgram(const QString& path)
{
    if (!isExecutable(path))
        return false;
    const Fd f = openRegularFile(path);
    char magic[4];
    return f.valid() && readFull(f.get(), magic, 4) == 4 && QByteArrayView(magic, 4) == QByteArrayView("\x7f" "ELF", 4);
}

} // namespace plat::posix
