#pragma once
#include "support/TempTree.h"
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace clitest {

// The folders of one run: the files a command works on (its working folder) and the home, XDG and
// temporary folders of its process, so that nothing it does reaches the real home or trash.
struct Sandbox {
    test::TempTree t;          // the working folder
    test::TempTree homes;      // HOME, XDG_*, TMPDIR
    Sandbox();
    QString dataHome() const;  // XDG_DATA_HOME: the trash lives in dataHome() + "/Trash"
    QProcessEnvironment environment() const;
    QString expand(const QString& text) const;   // "{root}" becomes t.root()
};

struct CliRun {
    int exitCode;              // -1 when the program did not start or end normally
    QByteArray out;
    QByteArray err;
};

// Runs the orvo-cli of this build in the sandbox's working folder with its environment. `args` and
// `input` may hold "{root}". With `outputToFullDisk` standard output is /dev/full, where every write fails.
// `in` is the working folder relative to the sandbox's (empty: the sandbox's own). Arguments may hold
// bytes that are not UTF-8 (as plat::posix::decodePath gives them); they reach the program unchanged.
CliRun runCli(const Sandbox& box, const QStringList& args, const QByteArray& input = QByteArray(),
              bool outputToFullDisk = false, const QString& in = QString());

// Runs `program` with `args` passed byte for byte (names that are not UTF-8 included); its exit code, or -1.
int runProgram(const QString& program, const QStringList& args);

// Whether `text` is all of `pattern`, where "{*}" stands for any text within one line (no tab, no line break).
bool matchesPattern(const QString& text, const QString& pattern);

} // namespace clitest
