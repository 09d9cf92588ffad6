#include "CliRunner.h"
#include "platform/posix/PathCodec.h"
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace clitest {

Sandbox::Sandbox()
{
    for (const char* sub : {"home", "config", "data", "cache", "tmp"})
        homes.dir(QString::fromLatin1(sub));
    homes.dir(QStringLiteral("runtime"));
    homes.setMode(QStringLiteral("runtime"), 0700);
}

QString Sandbox::dataHome() const
{
    return homes.path(QStringLiteral("data"));
}

QProcessEnvironment Sandbox::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), homes.path(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), homes.path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), homes.path(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), homes.path(QStringLiteral("runtime")));
    env.insert(QStringLiteral("TMPDIR"), homes.path(QStringLiteral("tmp")));
    env.insert(QStringLiteral("TZ"), QStringLiteral("CST-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return env;
}

QString Sandbox::expand(const QString& text) const
{
    return QString(text).replace(QLatin1String("{root}"), t.root());
}

namespace {

// A shell command that passes `args` to the program byte for byte: QProcess can only pass arguments
// that are valid in the local encoding.
QString byteExactCommand(const QString& program, const QStringList& args)
{
    QString script = QStringLiteral("set --;");
    for (const QString& a : args) {
        QString octal;
        for (const char c : plat::posix::encodePath(a))
            octal += QStringLiteral("\\%1").arg(uint(uchar(c)), 3, 8, QLatin1Char('0'));
        script += QStringLiteral(" v=$(printf '%1x'); set -- \"$@\" \"${v%x}\";").arg(octal);
    }
    return script + QStringLiteral(" exec '") + program + QStringLiteral("' \"$@\"");
}

} // namespace

CliRun runCli(const Sandbox& box, const QStringList& args, const QByteArray& input, bool outputToFullDisk,
              const QString& in)
{
    QStringList expanded;
    bool bytes = false;
    for (const QString& a : args) {
        expanded << box.expand(a);
        bytes = bytes || plat::posix::hasEscapedBytes(a);
    }
    QProcess p;
    p.setProcessEnvironment(box.environment());
    p.setWorkingDirectory(box.t.path(in));
    if (outputToFullDisk)
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (bytes)
        p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), byteExactCommand(QStringLiteral(ORVO_CLI_PATH), expanded)});
    else
        p.start(QStringLiteral(ORVO_CLI_PATH), expanded);
    if (!p.waitForStarted())
        return {-1, QByteArray(), "not started: " + p.errorString().toUtf8()};
    p.write(box.expand(QString::fromUtf8(input)).toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {-1, p.readAllStandardOutput(), p.readAllStandardError() + "\n(killed: no end after 120 s)"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

int runProgram(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), byteExactCommand(program, args)});
    if (!p.waitForFinished(120000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool matchesPattern(const QString& text, const QString& pattern)
{
    QStringList pieces = pattern.split(QStringLiteral("{*}"));
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    const QRegularExpression re(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral("[^\\t\\n]*"))));
    return re.match(text).hasMatch();
}

} // namespace clitest
