// orvo-cli picture: decodes a picture with the program's own loader (optionally no larger than N on
// either side) and writes it as a PNG; exit 1 with the reason when it cannot be decoded or written.
#include "cli/Commands.h"
#include "imaging/Picture.h"
#include "platform/posix/Fd.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/SysError.h"
#include <QBuffer>
#include <QImageWriter>
#include <cstdio>
#include <fcntl.h>

namespace cli {
namespace {

const char* const kName = "picture";

int fail(const QString& path, const QString& reason)
{
    const QByteArray line = QByteArray("orvo-cli picture: ") + path.toUtf8() + ": " + reason.toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
    return 1;
}

int runPicture(const QStringList& args)
{
    QStringList files;
    int maxSize = 0;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--max-size")) {
            bool ok = false;
            maxSize = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || maxSize <= 0)
                return usageError(QString::fromLatin1(kName));
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2)
        return usageError(QString::fromLatin1(kName));

    const imaging::LoadResult r = imaging::loadPicture(files[0], {.maxSize = maxSize});
    if (r.failure == imaging::Failure::Unreadable)
        return fail(files[0], QStringLiteral("cannot read: ") + r.reason);
    if (!r.ok())
        return fail(files[0], QStringLiteral("cannot decode (") + imaging::formatName(r.format) + QStringLiteral("): ") + r.reason);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(r.image))
        return fail(files[1], writer.errorString());
    plat::posix::Fd out = plat::posix::openPath(files[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (!out.valid())
        return fail(files[1], plat::posix::errnoText(errno));
    if (const int err = plat::posix::writeAll(out.get(), png))
        return fail(files[1], plat::posix::errnoText(err));
    if (const int err = out.close())
        return fail(files[1], plat::posix::errnoText(err));
    return 0;
}

const Registration reg{kName, "picture [--max-size N] FILE OUT.png", runPicture};

} // namespace
} // namespace cli
