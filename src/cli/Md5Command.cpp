// orvo-cli md5: prints "DIGEST  PATH" per file with the engine's upper-case digest, or checks a list in
// the "digest  path" format (digests in either case) and prints "PATH: OK" or "PATH: FAILED" per entry.
#include "cli/Commands.h"
#include "tools/md5/engine/MD5Hash.h"
#include <QFile>
#include <cstdio>
#include <exception>

namespace cli {
namespace {

const char* const kName = "md5";

void printLine(const QByteArray& bytes)
{
    writeOut(bytes.constData(), size_t(bytes.size()));
    writeOut("\n", 1);
}

// A name holding a backslash or a line break is written with those escaped and a leading backslash on
// the line, as digest lists do, so every output line can be checked again.
QByteArray escapedLine(const QByteArray& digest, const QByteArray& sep, const QByteArray& name)
{
    if (!name.contains('\\') && !name.contains('\n') && !name.contains('\r'))
        return digest + sep + name;
    QByteArray out;
    for (char c : name) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return '\\' + digest + sep + out;
}

void printError(const QString& text)
{
    const QByteArray line = QByteArray("orvo-cli md5: ") + text.toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
}

// The digest text, or an empty text after printing why there is none.
QString digestOf(const QString& path, int mode)
{
    try {
        const QString digest = MD5File(path, mode);
        if (digest.isEmpty())
            printError(path + QStringLiteral(": no digest: a file of 2 GB or more cannot be mapped"));
        return digest;
    } catch (const std::exception& e) {
        printError(QString::fromUtf8(e.what()));
        return QString();
    }
}

bool isHex32(QByteArrayView s)
{
    if (s.size() != 32)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

// A list line "DIGEST  NAME" or "DIGEST *NAME"; a line starting with a backslash has "\\", "\n" and "\r"
// escaped in its name. False for a line of any other form.
bool parseLine(QByteArray line, QByteArray* digest, QByteArray* name)
{
    bool escaped = false;
    if (line.startsWith('\\')) {
        escaped = true;
        line.remove(0, 1);
    }
    if (line.size() < 35 || !isHex32(QByteArrayView(line).first(32)) || line[32] != ' ' ||
        (line[33] != ' ' && line[33] != '*'))
        return false;
    *digest = line.left(32);
    QByteArray raw = line.mid(34);
    if (escaped) {
        QByteArray out;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\') {
                out += raw[i];
                continue;
            }
            if (++i >= raw.size())
                return false;
            switch (raw[i]) {
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return false;
            }
        }
        raw = out;
    }
    *name = raw;
    return !name->isEmpty();
}

int check(const QString& listName, int mode)
{
    QFile list;
    const bool opened = listName == QLatin1String("-") ? list.open(stdin, QIODevice::ReadOnly)
                                                       : (list.setFileName(listName), list.open(QIODevice::ReadOnly));
    if (!opened) {
        printError(listName + QStringLiteral(": cannot open the list"));
        return 1;
    }
    int failures = 0;
    int lineNo = 0;
    while (!list.atEnd()) {
        QByteArray line = list.readLine();
        ++lineNo;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        QByteArray want, name;
        if (!parseLine(line, &want, &name)) {
            printError(listName + QStringLiteral(": line %1: not a digest line").arg(lineNo));
            ++failures;
            continue;
        }
        const QString path = QFile::decodeName(name);
        const QString got = digestOf(path, mode);
        const bool ok = !got.isEmpty() && got.compare(QString::fromLatin1(want), Qt::CaseInsensitive) == 0;
        if (!ok)
            ++failures;
        printLine(escapedLine(QByteArray(), QByteArray(), name) + QByteArray(ok ? ": OK" : ": FAILED"));
    }
    if (list.error() != QFileDevice::NoError) {
        printError(listName + QStringLiteral(": cannot read the list"));
        ++failures;
    }
    return flushOut() && !failures ? 0 : 1;
}

int runMd5(const QStringList& args)
{
    int mode = rmFileStream;
    QString checkList;
    QStringList files;
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (options && a == QLatin1String("--mode") && i + 1 < args.size()) {
            const QString m = args[++i];
            if (m == QLatin1String("auto"))
                mode = rmAuto;
            else if (m == QLatin1String("mapped"))
                mode = rmMapped;
            else if (m == QLatin1String("stream"))
                mode = rmFileStream;
            else
                return usageError(QString::fromLatin1(kName));
        } else if (options && a == QLatin1String("--check") && i + 1 < args.size()) {
            checkList = args[++i];
        } else if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && a.startsWith(u'-') && a != QLatin1String("-")) {
            return usageError(QString::fromLatin1(kName));
        } else {
            files.append(a);
        }
    }
    if (!checkList.isEmpty()) {
        if (!files.isEmpty())
            return usageError(QString::fromLatin1(kName));
        return check(checkList, mode);
    }
    if (files.isEmpty())
        return usageError(QString::fromLatin1(kName));
    int rc = 0;
    for (const QString& f : files) {
        const QString digest = digestOf(f, mode);
        if (digest.isEmpty()) {
            rc = 1;
            continue;
        }
        printLine(escapedLine(digest.toLatin1(), QByteArray("  "), QFile::encodeName(f)));
    }
    if (!flushOut())
        rc = 1;
    return rc;
}

const Registration md5Registration{
    kName,
    "md5 [--mode auto|mapped|stream] FILE...        (default mode: stream)\n"
    "    [--mode auto|mapped|stream] --check LIST   (lines \"DIGEST  PATH\", either case; - reads stdin)",
    runMd5};

} // namespace
} // namespace cli
