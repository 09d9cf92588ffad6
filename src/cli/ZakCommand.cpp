// orvo-cli zak: compresses a file into a ".zak" file or back with the compressor engine.
#include "cli/Commands.h"
#include "tools/compress/engine/ZakCodec.h"
#include <QFileInfo>
#include <cstdio>

namespace cli {
namespace {

void complain(const QString& text)
{
    std::fputs((QStringLiteral("orvo-cli zak: ") + text + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
}

} // namespace

int runZak(const QStringList& args)
{
    static const QString name = QStringLiteral("zak");
    if (args.isEmpty())
        return usageError(name);
    const QString direction = args.first();
    if (direction != QLatin1String("compress") && direction != QLatin1String("decompress"))
        return usageError(name);

    TZCompressionLevel level = zcDefault;
    QStringList files;
    bool options = true;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (options && a == QLatin1String("--level")) {
            if (i + 1 >= args.size())
                return usageError(name);
            const QString v = args[++i];
            if (v == QLatin1String("none"))
                level = zcNone;
            else if (v == QLatin1String("fastest"))
                level = zcFastest;
            else if (v == QLatin1String("default"))
                level = zcDefault;
            else if (v == QLatin1String("max"))
                level = zcMax;
            else
                return usageError(name);
        } else if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && a.startsWith(u'-') && a.size() > 1) {
            return usageError(name);
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return usageError(name);

    TZnZip zip;
    zip.setSourceFile(files[0]);
    zip.setDestFile(files[1]);
    zip.setZipLevel(level);
    bool normal = false;
    zip.OnEnd = [&normal](TZnZip*, bool nNormal, float) { normal = nNormal; };

    if (!QFileInfo(files[0]).isFile()) {
        complain(QStringLiteral("源文件不存在或不是普通文件：") + files[0]);
        return 1;
    }
    try {
        const bool started = direction == QLatin1String("compress") ? zip.Compress() : zip.Decompress();
        if (!started) {
            complain(QStringLiteral("不能开始：") + files[0]);
            return 1;
        }
    } catch (const std::exception& e) {
        complain(QString::fromUtf8(e.what()));
        return 1;
    }
    zip.WaitFor();
    if (!normal) {
        complain(zip.LastError().isEmpty() ? QStringLiteral("已经取消") : zip.LastError());
        return 1;
    }
    return 0;
}

static const Registration zakRegistration{
    "zak", "zak compress|decompress [--level none|fastest|default|max] SRC DEST", runZak};

} // namespace cli
