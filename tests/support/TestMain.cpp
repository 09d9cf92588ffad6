// Shared main() of every test executable: isolates XDG folders, temp folder, time zone and locale,
// then runs GoogleTest inside a QApplication.
#include "platform/Services.h"
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace {

QString makeSub(const QString& root, const char* name, mode_t mode = 0700)
{
    const QString p = root + u'/' + QLatin1String(name);
    QDir().mkpath(p);
    ::chmod(QFile::encodeName(p).constData(), mode);
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    // The sandbox lives under the real temp folder; everything else the tests touch lives inside it.
    QTemporaryDir sandbox(QDir::tempPath() + QStringLiteral("/orvo-test-XXXXXX"));
    if (!sandbox.isValid())
        return 2;
    const QString root = sandbox.path();
    setenv("XDG_CONFIG_HOME", QFile::encodeName(makeSub(root, "config")).constData(), 1);
    setenv("XDG_DATA_HOME", QFile::encodeName(makeSub(root, "data")).constData(), 1);
    setenv("XDG_CACHE_HOME", QFile::encodeName(makeSub(root, "cache")).constData(), 1);
    setenv("XDG_RUNTIME_DIR", QFile::encodeName(makeSub(root, "runtime")).constData(), 1);
    setenv("TMPDIR", QFile::encodeName(makeSub(root, "tmp")).constData(), 1);
    setenv("HOME", QFile::encodeName(makeSub(root, "home")).constData(), 1);
    if (!getenv("ORVO_TEST_KEEP_TZ"))
        setenv("TZ", "CST-8", 1);
    tzset();
    setenv("LC_ALL", "C.UTF-8", 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    plat::installDefaultServices();

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
