// orvo-cli run as a process, one row per case: the files it starts from, its arguments, its exit code,
// what it prints and the files it leaves. Every subcommand has its usage error (exit 2), a failure and
// its success path.
#include "CliRunner.h"
#include "fileops/engine/Trash.h"
#include "platform/posix/PathCodec.h"
#include "support/CaseNames.h"
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

using clitest::CliRun;
using clitest::Sandbox;

namespace {

struct CliCase {
    const char* name;
    QStringList args;                                        // "{root}" stands for the working folder
    std::function<void(Sandbox&)> prepare = {};
    QByteArray input = {};                                   // standard input, "{root}" expanded
    bool outputToFullDisk = false;                           // standard output is /dev/full
    int exitCode = 0;
    // All of standard output, "{root}" expanded, "{*}" for any text within a line; nullopt: see `check`.
    std::optional<QString> out = QString();
    QString err = {};                                        // text in standard error; empty: it is empty
    std::function<void(Sandbox&, const CliRun&)> check = {};   // the files afterwards
    QString in = {};                                         // working folder below the sandbox's
};

void PrintTo(const CliCase& c, std::ostream* os)
{
    *os << "orvo-cli " << c.args.join(u' ').toStdString();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

const QDateTime kModified(QDate(2021, 3, 4), QTime(18, 30, 5));
const QDateTime kAccessed(QDate(2022, 1, 2), QTime(3, 4, 5));
const QString kUsage = QStringLiteral("usage: orvo-cli ");
const QString kWriteError = QStringLiteral("orvo-cli: write error: No space left on device\n");

// d/a.txt (3 bytes), d/sub/b.txt (2000 bytes), both with the times above.
void sampleFolder(Sandbox& b)
{
    b.t.file(QStringLiteral("d/a.txt"), QByteArray("abc"));
    b.t.file(QStringLiteral("d/sub/b.txt"), 2000);
    b.t.setTimes(QStringLiteral("d/a.txt"), kAccessed, kModified);
    b.t.setTimes(QStringLiteral("d/sub/b.txt"), kAccessed, kModified);
}

// d/far.txt written on 2400-01-01 and read on 2300-06-01 (local times), both past what a qint64 of
// nanoseconds holds.
void farTimes(Sandbox& b)
{
    b.t.file(QStringLiteral("d/far.txt"), QByteArray("far"));
    b.t.setTimes(QStringLiteral("d/far.txt"), QDateTime(QDate(2300, 6, 1), QTime(12, 0)), QDateTime(QDate(2400, 1, 1), QTime(0, 0)));
}

// d/ with names holding a TAB, a line break, a leading backslash and an inner one.
void oddListNames(Sandbox& b)
{
    for (const char* name : {"a\tb", "c\nd", "\\e", "f\\g"})
        b.t.file(QStringLiteral("d/") + QString::fromLatin1(name), QByteArray("x"));
}

// One row per entry; the rows of the first three names escaped (a leading backslash, "\t", "\n", "\\"),
// the last as it is. `after` is text found in every entry row after its name.
void expectEscapedRows(Sandbox& b, const CliRun& r, const char* after)
{
    const QString out = QString::fromUtf8(r.out);
    QStringList rows = out.split(u'\n');
    EXPECT_EQ(rows.takeLast(), QString());
    const QStringList names = {"\\a\\tb\t", "\\c\\nd\t", "\\\\\\e\t", "f\\g\t"};
    for (const QString& n : names) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const QString& x) { return x.startsWith(n); });
        ASSERT_NE(row, rows.end()) << n.toStdString() << "\n" << out.toStdString();
        EXPECT_TRUE(row->contains(QString::fromLatin1(after))) << row->toStdString();
        EXPECT_EQ(row->count(u'\t'), rows.first().count(u'\t')) << row->toStdString();
    }
    EXPECT_EQ(rows.size(), names.size() + (rows.last().contains(u'\t') ? 0 : 1)) << out.toStdString();
}

void fileA(Sandbox& b)
{
    b.t.file(QStringLiteral("a.txt"), QByteArray("new"));
    b.t.dir(QStringLiteral("dst"));
}

void fileAAndOlderCopy(Sandbox& b)
{
    fileA(b);
    b.t.file(QStringLiteral("dst/a.txt"), QByteArray("old"));
}

// --- zak ---

// 200,000 bytes of text that deflates well.
QByteArray zakText()
{
    QByteArray b;
    for (int i = 0; b.size() < 200000; ++i)
        b += "alpha beta gamma " + QByteArray::number(i % 977) + (i % 7 ? " " : "\n");
    return b.left(200000);
}

void zakSource(Sandbox& b)
{
    b.t.file(QStringLiteral("a.txt"), zakText());
}

// Compresses with a level, checks the stream's header and decompresses it back.
CliCase zakRoundTrip(const char* name, const char* level, const char* header)
{
    return {.name = name,
            .args = {"zak", "compress", "--level", level, "a.txt", "a.zak"},
            .prepare = zakSource,
            .check = [header](Sandbox& b, const CliRun&) {
                EXPECT_EQ(readAll(b.t.path("a.zak")).left(2).toHex(), QByteArray(header));
                const CliRun back = clitest::runCli(b, {"zak", "decompress", "a.zak", "a.out"});
                EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
                EXPECT_TRUE(readAll(b.t.path("a.out")) == zakText());
            }};
}

void plainText(Sandbox& b)
{
    b.t.file(QStringLiteral("plain.txt"), QByteArray("not a zlib stream"));
}

// A failed zak leaves the source as it was and no file behind.
void onlyPlainTextLeft(Sandbox& b, const CliRun&)
{
    EXPECT_EQ(readAll(b.t.path("plain.txt")), QByteArray("not a zlib stream"));
    EXPECT_EQ(entries(b.t.root()), QStringList{"plain.txt"});
}

CliCase zakFailure(const char* name, const QStringList& args, int exitCode, const char* says)
{
    return {.name = name,
            .args = QStringList{"zak"} + args,
            .prepare = plainText,
            .exitCode = exitCode,
            .err = QString::fromUtf8(says),
            .check = onlyPlainTextLeft};
}

// --- md5 ---

const QString kAbcDigest = QStringLiteral("900150983CD24FB0D6963F7D28E17F72");
const QString kEmptyDigest = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");

void abcAndEmpty(Sandbox& b)
{
    b.t.file(QStringLiteral("a.txt"), QByteArray("abc"));
    b.t.file(QStringLiteral("empty"), 0);
}

CliCase md5InMode(const char* name, const char* mode)
{
    return {.name = name,
            .args = {"md5", "--mode", mode, "{root}a.txt", "{root}empty"},
            .prepare = abcAndEmpty,
            .out = kAbcDigest + "  {root}a.txt\n" + kEmptyDigest + "  {root}empty\n"};
}

void digestLists(Sandbox& b)
{
    b.t.file(QStringLiteral("a.txt"), QByteArray("abc"));
    b.t.file(QStringLiteral("b.txt"), QByteArray("b"));
    b.t.file(QStringLiteral("back\\slash"), QByteArray("abc"));
    b.t.file(QStringLiteral("good.md5"), QByteArray("900150983cd24fb0d6963f7d28e17f72  a.txt\r\n"   // lower case, CR LF
                                                    "92EB5FFEE6AE2FEC3AD71C777531578F *b.txt\n"       // binary marker
                                                    "# a comment\n"
                                                    "\n"
                                                    "\\900150983CD24FB0D6963F7D28E17F72  back\\\\slash\n"));
}

// --- split, merge ---

void tenBytes(Sandbox& b)
{
    b.t.file(QStringLiteral("s.bin"), QByteArray("0123456789"));
}

void fourPieces(Sandbox& b)
{
    b.t.file(QStringLiteral("piece1"), QByteArray("012"));
    b.t.file(QStringLiteral("piece2"), QByteArray("345"));
    b.t.file(QStringLiteral("piece3"), QByteArray("678"));
    b.t.file(QStringLiteral("piece4"), QByteArray("9"));
}

void expectPieces(Sandbox& b, const QString& base, const QList<QByteArray>& pieces)
{
    for (int i = 0; i < pieces.size(); ++i)
        EXPECT_EQ(readAll(b.t.path(base + QString::number(i + 1))), pieces[i]) << i + 1;
    EXPECT_FALSE(QFileInfo::exists(b.t.path(base + QString::number(pieces.size() + 1))));
}

// --- compare ---

void twoTexts(Sandbox& b)
{
    b.t.file(QStringLiteral("one.txt"), QByteArray("a\nb\nc\n"));
    b.t.file(QStringLiteral("two.txt"), QByteArray("a\nB\nc\nd\n"));
}

// --- trash ---

void fullTrash(Sandbox& b)
{
    const QString trash = b.dataHome() + QStringLiteral("/Trash/");
    QDir().mkpath(trash + QStringLiteral("files/folder"));
    QDir().mkpath(trash + QStringLiteral("info"));
    QFile(trash + QStringLiteral("files/old.txt")).open(QIODevice::WriteOnly);
    QFile(trash + QStringLiteral("files/folder/inner.txt")).open(QIODevice::WriteOnly);
    for (const char* name : {"old.txt", "folder"}) {
        QFile info(trash + QStringLiteral("info/") + QLatin1String(name) + QStringLiteral(".trashinfo"));
        info.open(QIODevice::WriteOnly);
        info.write("[Trash Info]\nPath=/somewhere/" + QByteArray(name) + "\nDeletionDate=2024-01-01T00:00:00\n");
    }
}

// "trash --empty" empties every trash folder it finds: the one in its XDG_DATA_HOME (the sandbox's) and
// those at the top of mounted volumes. The latter are real data of this machine's user.
void expectNoVolumeTrash()
{
    QStringList foreign;
    const QString ownTrash = QDir::cleanPath(fileops::TrashCan::homeTrash());   // the test program's own, in its sandbox
    for (const QString& folder : fileops::TrashCan::trashFolders()) {
        if (QDir::cleanPath(folder) != ownTrash)
            foreign << folder;
    }
    ASSERT_TRUE(foreign.isEmpty()) << "emptying these would lose data: " << foreign.join(u' ').toStdString();
}


// --- operands and names that are not UTF-8 ---

// box/cwd (the working folder) with a folder and a file, and a sibling folder with a file.
void boxWithCwd(Sandbox& b)
{
    b.t.file(QStringLiteral("box/cwd/inner/f"), QByteArray("f"));
    b.t.file(QStringLiteral("box/cwd/g"), QByteArray("g"));
    b.t.file(QStringLiteral("box/sibling/s"), QByteArray("s"));
    b.t.dir(QStringLiteral("box/dest"));
}

void boxUntouched(Sandbox& b, const CliRun&)
{
    EXPECT_EQ(readAll(b.t.path("box/cwd/inner/f")), QByteArray("f"));
    EXPECT_EQ(readAll(b.t.path("box/cwd/g")), QByteArray("g"));
    EXPECT_EQ(readAll(b.t.path("box/sibling/s")), QByteArray("s"));
    EXPECT_EQ(entries(b.t.path("box")), (QStringList{"cwd", "dest", "sibling"}));
    EXPECT_EQ(entries(b.t.path("box/dest")), QStringList());
    EXPECT_EQ(entries(b.dataHome() + "/Trash/files"), QStringList());
}

// A name as bytes, shown as the program shows it.
QString raw(const char* bytes)
{
    return plat::posix::decodePath(QByteArray(bytes));
}

void writeRaw(const QString& root, const QByteArray& rel, const QByteArray& content)
{
    const QByteArray p = plat::posix::encodePath(root) + rel;
    const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << p.toStdString();
    EXPECT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
}

QList<QByteArray> rawEntries(const QString& dir)
{
    QList<QByteArray> out;
    if (DIR* d = ::opendir(plat::posix::encodePath(dir).constData())) {
        while (const dirent* e = ::readdir(d)) {
            const QByteArray n(e->d_name);
            if (n != "." && n != "..")
                out << n;
        }
        ::closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

QByteArray readRaw(const QString& root, const QByteArray& rel)
{
    QFile f;
    const int fd = ::open(QByteArray(plat::posix::encodePath(root) + rel).constData(), O_RDONLY);
    if (fd < 0 || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<missing>";
    return f.readAll();
}

// src/ with names that are not UTF-8 beside their look-alikes, line breaks, TABs, backslashes and
// leading dashes; each file holds its own name.
const QList<QByteArray> kOddNames = {"bad\xff", "bad\xef\xbf\xbd", "new\nline", "tab\there", "back\\slash",
                                     "-dash", "--twodash", "d\xfe\n"};

void oddTree(Sandbox& b)
{
    b.t.dir(QStringLiteral("src"));
    b.t.dir(QStringLiteral("dst"));
    b.t.dir(QStringLiteral("mv"));
    for (const QByteArray& n : kOddNames) {
        if (n.startsWith('d')) {
            ASSERT_EQ(::mkdir(QByteArray(plat::posix::encodePath(b.t.root()) + "src/" + n).constData(), 0755), 0);
            writeRaw(b.t.root(), "src/" + n + "/x\ty\xff", "inner " + n);
        } else {
            writeRaw(b.t.root(), "src/" + n, n);
        }
    }
}

int diffTrees(const QString& a, const QString& b)
{
    return clitest::runProgram(QStringLiteral("/usr/bin/diff"), {QStringLiteral("-r"), a, b});
}

// Copies three odd names, moves three more and deletes one copied name for good and one by the trash:
// every command acts on exactly the names it was given.
void oddNamesRoundTrip(Sandbox& b, const CliRun&)
{
    const QList<QByteArray> copied = {"-dash", "bad\xff", "d\xfe\n"};
    EXPECT_EQ(rawEntries(b.t.path("dst")), copied);
    for (const QByteArray& n : copied)
        EXPECT_EQ(diffTrees(b.t.path("src/") + raw(n), b.t.path("dst/") + raw(n)), 0) << n.toStdString();
    EXPECT_EQ(rawEntries(b.t.path("src")).size(), kOddNames.size());

    const CliRun moved = clitest::runCli(
        b, {"move", "--", raw("src/tab\there"), raw("src/back\\slash"), raw("src/d\xfe\n"), raw("src/--twodash"), "mv"});
    EXPECT_EQ(moved.exitCode, 0) << moved.err.toStdString();
    EXPECT_EQ(rawEntries(b.t.path("mv")), (QList<QByteArray>{"--twodash", "back\\slash", "d\xfe\n", "tab\there"}));
    EXPECT_EQ(rawEntries(b.t.path("src")), (QList<QByteArray>{"-dash", "bad\xef\xbf\xbd", "bad\xff", "new\nline"}));
    EXPECT_EQ(diffTrees(b.t.path("dst/") + raw("d\xfe\n"), b.t.path("mv/") + raw("d\xfe\n")), 0);
    EXPECT_EQ(readRaw(b.t.root(), "mv/tab\there"), QByteArray("tab\there"));

    const CliRun deleted = clitest::runCli(b, {"delete", "--permanent", raw("src/bad\xff")});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err.toStdString();
    EXPECT_EQ(rawEntries(b.t.path("src")), (QList<QByteArray>{"-dash", "bad\xef\xbf\xbd", "new\nline"}));
    EXPECT_EQ(readRaw(b.t.root(), "src/bad\xef\xbf\xbd"), QByteArray("bad\xef\xbf\xbd"));

    const CliRun trashed = clitest::runCli(b, {"delete", raw("../dst/bad\xff"), "--", "-dash"}, {}, false, "src");
    EXPECT_EQ(trashed.exitCode, 0) << trashed.err.toStdString();
    EXPECT_EQ(rawEntries(b.t.path("dst")), (QList<QByteArray>{"-dash", "d\xfe\n"}));
    EXPECT_EQ(rawEntries(b.t.path("src")), (QList<QByteArray>{"bad\xef\xbf\xbd", "new\nline"}));
    const QString trash = b.dataHome() + "/Trash/";
    EXPECT_EQ(rawEntries(trash + "files"), (QList<QByteArray>{"-dash", "bad\xff"}));
    EXPECT_EQ(readRaw(trash, "files/bad\xff"), QByteArray("bad\xff"));
    EXPECT_TRUE(readRaw(trash, "info/bad\xff.trashinfo").contains("/dst/bad%FF\n"));
    // The temporary folders cannot remove names that are not UTF-8 themselves.
    EXPECT_EQ(clitest::runProgram(QStringLiteral("/bin/rm"), {"-rf", b.t.path("src"), b.t.path("dst"), b.t.path("mv"), trash}), 0);
}

// --- ps ---

// The rows of a ps listing split into cells.
QList<QStringList> psRows(const CliRun& r)
{
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts))
        rows << line.split(u'\t');
    return rows;
}

// orvo-cli itself is listed as a child of this test, with the ten cells of a process row.
void expectOwnProcessRow(Sandbox&, const CliRun& r)
{
    const QList<QStringList> rows = psRows(r);
    ASSERT_GT(rows.size(), 1) << r.out.toStdString();
    for (const QStringList& row : rows)
        ASSERT_EQ(row.size(), 10) << row.join(u'|').toStdString();
    const auto own = std::find_if(rows.begin(), rows.end(), [](const QStringList& row) {
        return row[0] == QLatin1String("orvo-cli") && row[2] == QString::number(::getpid());
    });
    ASSERT_NE(own, rows.end()) << r.out.toStdString();
    EXPECT_GT((*own)[1].toUInt(), 0u);
    EXPECT_GE((*own)[3].toUInt(), 1u);
    EXPECT_EQ((*own)[4], QStringLiteral("[Normal  ]"));
    EXPECT_EQ(own->mid(5), QStringList({"0", "0", "0", "0", "0"}));
    const auto self = std::find_if(rows.begin(), rows.end(),
                                   [](const QStringList& row) { return row[1] == QString::number(::getpid()); });
    EXPECT_NE(self, rows.end());
}

// The modules of this test process hold the Qt core library, as a module row of ten cells.
void expectQtModuleRow(Sandbox&, const CliRun& r)
{
    const QList<QStringList> rows = psRows(r);
    const auto core = std::find_if(rows.begin(), rows.end(),
                                   [](const QStringList& row) { return row[0].startsWith(QLatin1String("libQt6Core.so")); });
    ASSERT_NE(core, rows.end()) << r.out.toStdString();
    ASSERT_EQ(core->size(), 10);
    EXPECT_TRUE((*core)[1].endsWith((*core)[0]));
    EXPECT_EQ((*core)[2], (*core)[3]);
    EXPECT_GT((*core)[4].toULongLong(), 0u);
    EXPECT_EQ(core->mid(5), QStringList({"0", "0", "1", QString::number(::getpid()), "548"}));
}

// --- attr and redate ---

QDateTime modifiedOf(const QString& path)
{
    return QFileInfo(path).fileTime(QFile::FileModificationTime);
}

QDateTime accessedOf(const QString& path)
{
    return QFileInfo(path).fileTime(QFile::FileAccessTime);
}

// a.txt (1536 bytes) and b.txt with the sample times, and the folder d.
void attrItems(Sandbox& b)
{
    b.t.file(QStringLiteral("a.txt"), 1536);
    b.t.file(QStringLiteral("b.txt"), QByteArray("bb"));
    b.t.dir(QStringLiteral("d"));
    for (const char* name : {"a.txt", "b.txt", "d"})
        b.t.setTimes(QString::fromLatin1(name), kAccessed, kModified);
}

void readOnlyA(Sandbox& b)
{
    attrItems(b);
    b.t.setMode(QStringLiteral("a.txt"), 0444);
}

// The files keep their sample times and contents.
void expectUntouched(Sandbox& b, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        EXPECT_EQ(modifiedOf(b.t.path(QString::fromLatin1(name))), kModified) << name;
        EXPECT_EQ(accessedOf(b.t.path(QString::fromLatin1(name))), kAccessed) << name;
    }
}

// --- picture ---

// a.tga: a 40 x 20 uncompressed 24-bit Targa stored bottom-up, with the picture it holds.
QImage pictureSample()
{
    QImage i(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            i.setPixel(x, y, qRgb(x * 6, y * 12, (x + y) * 4));
    return i;
}

void targaFile(Sandbox& b)
{
    const QImage picture = pictureSample();
    QByteArray t("\0\0\2\0\0\0\0\0\0\0\0\0\x28\0\x14\0\x18\0", 18);
    for (int y = picture.height() - 1; y >= 0; --y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            t += char(qBlue(c));
            t += char(qGreen(c));
            t += char(qRed(c));
        }
    b.t.file(QStringLiteral("a.tga"), t);
    b.t.file(QStringLiteral("bad.jpg"), QByteArray("\xff\xd8\xff\xe0 not really a JPEG"));
    b.t.file(QStringLiteral("a.wmf"), QByteArray(64, 'w'));
}

// out.png holds the sample picture at `size`.
std::function<void(Sandbox&, const CliRun&)> pngOfSize(QSize size)
{
    return [size](Sandbox& b, const CliRun&) {
        const QImage out(b.t.path(QStringLiteral("out.png")), "png");
        ASSERT_EQ(out.size(), size);
        if (size == QSize(40, 20))
            EXPECT_EQ(out.convertToFormat(QImage::Format_RGB32), pictureSample());
    };
}

void noOutput(Sandbox& b, const CliRun&)
{
    EXPECT_FALSE(QFileInfo::exists(b.t.path(QStringLiteral("out.png"))));
}

const CliCase kCases[] = {
    // The program itself
    {.name = "no command", .args = {}, .exitCode = 2, .err = kUsage + "<command> [options]\ncommands:\n  attr"},
    {.name = "unknown command", .args = {"bogus"}, .exitCode = 2, .err = "  zak compress|decompress"},

    // list
    {.name = "list a folder",
     .args = {"list", "d"},
     .prepare = sampleFolder,
     .out = "..\t \t上一级文件夹\\\t{*}\t{*}\t{root}d/..\tdir\t{*}\t\n"
            "sub\t \t文件夹\t{*}\t{*}\t{root}d/sub\tdir\t{*}\t\n"
            "a.txt\t1 KB\t{*}\t2021-03-04 18:30:05\t{*}\t{root}d/a.txt\tfile\t2022-01-02 03:04:05\tA\n"},
    {.name = "list files by mask, hiding the extension",
     .args = {"list", "--mask", "*.txt", "--no-folders", "--hide-ext", "d/sub"},
     .prepare = sampleFolder,
     .out = "b\t1 KB\t{*}\t2021-03-04 18:30:05\t{*}\t{root}d/sub/b.txt\tfile\t2022-01-02 03:04:05\tA\n"},
    {.name = "list the volumes",
     .args = {"list", "DRIVES"},
     .out = std::nullopt,
     .check = [](Sandbox&, const CliRun& r) {
         EXPECT_TRUE(r.out.startsWith(" (/)  \t")) << r.out.toStdString();
         EXPECT_TRUE(r.out.contains("\t/\tdrv\n")) << r.out.toStdString();
     }},
    {.name = "list times past 2262",
     .args = {"list", "--no-parent", "d"},
     .prepare = farTimes,
     .out = "far.txt\t1 KB\t{*}\t2400-01-01 00:00:00\t{*}\t{root}d/far.txt\tfile\t2300-06-01 12:00:00\tA\n"},
    {.name = "list escapes rows with TABs and line breaks",
     .args = {"list", "--no-parent", "d"},
     .prepare = oddListNames,
     .out = std::nullopt,
     .check = [](Sandbox& b, const CliRun& r) {
         expectEscapedRows(b, r, "\tfile\t");
         EXPECT_TRUE(QString::fromUtf8(r.out).contains(b.t.path("d/") + "c\\nd\tfile\t")) << r.out.toStdString();
     }},
    {.name = "list usage", .args = {"list"}, .exitCode = 2, .err = kUsage + "list [--mask M]"},
    {.name = "list bad column", .args = {"list", "--click", "x", "d"}, .exitCode = 2, .err = kUsage + "list"},
    {.name = "list output fails",
     .args = {"list", "d"},
     .prepare = sampleFolder,
     .outputToFullDisk = true,
     .exitCode = 1,
     .err = kWriteError},
    {.name = "find output fails",
     .args = {"find", "--location", "d", "--name", "*.txt"},
     .prepare = sampleFolder,
     .outputToFullDisk = true,
     .exitCode = 1,
     .err = kWriteError},
    {.name = "compare output fails",
     .args = {"compare", "one.txt", "one.txt"},
     .prepare = twoTexts,
     .outputToFullDisk = true,
     .exitCode = 1,
     .err = kWriteError},
    {.name = "md5 output fails",
     .args = {"md5", "a.txt"},
     .prepare = abcAndEmpty,
     .outputToFullDisk = true,
     .exitCode = 1,
     .err = kWriteError},
    {.name = "md5 check output fails",
     .args = {"md5", "--check", "good.md5"},
     .prepare = digestLists,
     .outputToFullDisk = true,
     .exitCode = 1,
     .err = kWriteError},

    // find (its times have two-second steps: 18:30:05 reads 18:30:04)
    {.name = "find by name in subfolders",
     .args = {"find", "--location", "d", "--name", "*.txt"},
     .prepare = sampleFolder,
     .out = "a.txt\t{root}d\t1KB\t2021/3/4 18:30:04\n"
            "b.txt\t{root}d/sub\t2KB\t2021/3/4 18:30:04\n"
            "2 文件找到在 2 文件夹 ({*} ms)\n"},
    {.name = "find containing text, no subfolders",
     .args = {"find", "--location", "d", "--containing", "B", "--no-subfolders"},
     .prepare = sampleFolder,
     .out = "a.txt\t{root}d\t1KB\t2021/3/4 18:30:04\n"
            "1 文件找到在 1 文件夹 ({*} ms)\n"},
    {.name = "find after 2300",
     .args = {"find", "--location", "d", "--modified", "--after", "2300-01-01"},
     .prepare = farTimes,
     .out = "far.txt\t{root}d\t1KB\t2400/1/1\n"
            "1 文件找到在 1 文件夹 ({*} ms)\n"},
    {.name = "find before 2300",
     .args = {"find", "--location", "d", "--accessed", "--before", "2300-01-01"},
     .prepare = farTimes,
     .out = "0 文件找到在 1 文件夹 ({*} ms)\n"},
    {.name = "find escapes rows with TABs and line breaks",
     .args = {"find", "--location", "d", "--name", "*"},
     .prepare = oddListNames,
     .out = std::nullopt,
     .check = [](Sandbox& b, const CliRun& r) {
         expectEscapedRows(b, r, "\t1KB\t");
         EXPECT_TRUE(QString::fromUtf8(r.out).contains("\\c\\nd\t" + b.t.path("d") + "\t1KB\t")) << r.out.toStdString();
     }},
    {.name = "find nothing", .args = {"find", "--location", "d", "--min-kb", "5"}, .prepare = sampleFolder,
     .out = "0 文件找到在 2 文件夹 ({*} ms)\n"},
    {.name = "find wildcard location",
     .args = {"find", "--location", "d*"},
     .exitCode = 1,
     .err = "location cannot to be contained wildcards"},
    {.name = "find usage", .args = {"find", "--name", "*.txt"}, .exitCode = 2, .err = kUsage + "find --location L"},
    {.name = "find bad attribute", .args = {"find", "--location", "d", "--attributes", "Z"}, .exitCode = 2,
     .err = kUsage + "find"},

    // copy
    {.name = "copy into a folder",
     .args = {"copy", "a.txt", "dst"},
     .prepare = fileA,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(readAll(b.t.path("dst/a.txt")), QByteArray("new"));
         EXPECT_EQ(readAll(b.t.path("a.txt")), QByteArray("new"));
     }},
    {.name = "copy keeps the existing target",
     .args = {"copy", "a.txt", "dst"},
     .prepare = fileAAndOlderCopy,
     .exitCode = 1,
     .err = "已跳过“{root}a.txt”：目标位置已有同名的项目，未替换",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_EQ(readAll(b.t.path("dst/a.txt")), QByteArray("old")); }},
    {.name = "copy renames on collision",
     .args = {"copy", "--rename-on-collision", "a.txt", "dst"},
     .prepare = fileAAndOlderCopy,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(readAll(b.t.path("dst/a.txt")), QByteArray("old"));
         EXPECT_EQ(readAll(b.t.path("dst/复件 a.txt")), QByteArray("new"));
     }},
    {.name = "copy missing source",
     .args = {"copy", "missing", "dst"},
     .prepare = fileA,
     .exitCode = 1,
     .err = "无法复制“{root}missing”：No such file or directory",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_EQ(entries(b.t.path("dst")), QStringList()); }},
    {.name = "copy to a missing folder",
     .args = {"copy", "a.txt", "nodir"},
     .prepare = fileA,
     .exitCode = 1,
     .err = "目标文件夹“nodir”不存在",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_FALSE(QFileInfo::exists(b.t.path("nodir"))); }},
    {.name = "copy usage", .args = {"copy", "a.txt"}, .exitCode = 2,
     .err = kUsage + "copy [--rename-on-collision] SRC... DESTDIR"},
    {.name = "copy unknown option", .args = {"copy", "--force", "a.txt", "dst"}, .exitCode = 2, .err = kUsage + "copy"},

    // move
    {.name = "move into a folder",
     .args = {"move", "a.txt", "dst"},
     .prepare = fileA,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(readAll(b.t.path("dst/a.txt")), QByteArray("new"));
         EXPECT_FALSE(QFileInfo::exists(b.t.path("a.txt")));
     }},
    {.name = "move missing source",
     .args = {"move", "missing", "dst"},
     .prepare = fileA,
     .exitCode = 1,
     .err = "无法移动“{root}missing”：No such file or directory"},
    {.name = "move usage", .args = {"move"}, .exitCode = 2, .err = kUsage + "move [--rename-on-collision] SRC... DESTDIR"},

    // delete
    {.name = "delete to the trash",
     .args = {"delete", "a.txt"},
     .prepare = fileA,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_FALSE(QFileInfo::exists(b.t.path("a.txt")));
         EXPECT_EQ(readAll(b.dataHome() + "/Trash/files/a.txt"), QByteArray("new"));
         EXPECT_TRUE(readAll(b.dataHome() + "/Trash/info/a.txt.trashinfo").contains("\nPath="));
     }},
    {.name = "delete permanently",
     .args = {"delete", "--permanent", "a.txt", "dst"},
     .prepare = fileAAndOlderCopy,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(entries(b.t.root()), QStringList());
         EXPECT_EQ(entries(b.dataHome() + "/Trash/files"), QStringList());
     }},
    {.name = "delete missing item",
     .args = {"delete", "gone"},
     .exitCode = 1,
     .err = "无法删除“{root}gone”：No such file or directory"},
    {.name = "delete usage", .args = {"delete"}, .exitCode = 2, .err = kUsage + "delete [--permanent] PATH..."},
    {.name = "delete unknown option", .args = {"delete", "--force", "a.txt"}, .prepare = fileA, .exitCode = 2,
     .err = kUsage + "delete",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_TRUE(QFileInfo::exists(b.t.path("a.txt"))); }},

    // operands without an item of their own, and names that are not UTF-8
    {.name = "delete for good refuses nothing dot and parent",
     .args = {"delete", "--permanent", "", ".", "./", "..", "inner/..", "inner/."},
     .prepare = boxWithCwd,
     .exitCode = 1,
     .err = "无法删除“..”：路径为空、以“.”或“..”结尾或是根文件夹，已拒绝",
     .check = boxUntouched,
     .in = "box/cwd"},
    {.name = "delete to the trash refuses nothing dot and parent",
     .args = {"delete", "", ".", ".."},
     .prepare = boxWithCwd,
     .exitCode = 1,
     .err = "无法删除“”：路径为空",
     .check = boxUntouched,
     .in = "box/cwd"},
    {.name = "move refuses nothing dot and parent",
     .args = {"move", "", ".", "..", "inner/..", "../dest"},
     .prepare = boxWithCwd,
     .exitCode = 1,
     .err = "无法移动“inner/..”：",
     .check = boxUntouched,
     .in = "box/cwd"},
    {.name = "copy refuses nothing dot and parent",
     .args = {"copy", "", ".", "..", "../dest"},
     .prepare = boxWithCwd,
     .exitCode = 1,
     .err = "无法复制“”：",
     .check = boxUntouched,
     .in = "box/cwd"},
    {.name = "odd names are copied moved and deleted as given",
     .args = {"copy", "--", raw("src/-dash"), raw("src/bad\xff"), raw("src/d\xfe\n"), "dst"},
     .prepare = oddTree,
     .check = oddNamesRoundTrip},

    // trash
    {.name = "trash empty",
     .args = {"trash", "--empty"},
     .prepare = fullTrash,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(entries(b.dataHome() + "/Trash/files"), QStringList());
         EXPECT_EQ(entries(b.dataHome() + "/Trash/info"), QStringList());
     }},
    {.name = "trash usage", .args = {"trash"}, .exitCode = 2, .err = kUsage + "trash --empty"},
    {.name = "trash usage with more", .args = {"trash", "--empty", "now"}, .prepare = fullTrash, .exitCode = 2,
     .err = kUsage + "trash --empty",
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(entries(b.dataHome() + "/Trash/files"), (QStringList{"folder", "old.txt"}));
     }},

    // zak
    zakRoundTrip("zak level none", "none", "7801"),
    zakRoundTrip("zak level fastest", "fastest", "7801"),
    zakRoundTrip("zak level default", "default", "789c"),
    zakRoundTrip("zak level max", "max", "78da"),
    zakFailure("zak not a stream", {"decompress", "plain.txt", "out"}, 1, "不是有效的压缩文件"),
    zakFailure("zak missing source", {"compress", "missing", "out"}, 1, "源文件不存在"),
    zakFailure("zak onto itself", {"compress", "plain.txt", "plain.txt"}, 1, "同一个文件"),
    zakFailure("zak into a missing folder", {"compress", "plain.txt", "no/folder/out"}, 1, "不能创建文件"),
    zakFailure("zak bad level", {"compress", "--level", "7", "plain.txt", "out"}, 2, "usage: orvo-cli zak"),
    zakFailure("zak bad direction", {"pack", "plain.txt", "out"}, 2, "usage: orvo-cli zak"),
    zakFailure("zak one file", {"compress", "plain.txt"}, 2, "usage: orvo-cli zak"),

    // md5
    md5InMode("md5 auto", "auto"),
    md5InMode("md5 mapped", "mapped"),
    md5InMode("md5 stream", "stream"),
    {.name = "md5 missing file",
     .args = {"md5", "{root}a.txt", "{root}missing"},
     .prepare = abcAndEmpty,
     .exitCode = 1,
     .out = kAbcDigest + "  {root}a.txt\n",
     .err = "Error opening {root}missing"},
    {.name = "md5 mapped refuses 2 GB",
     .args = {"md5", "--mode", "mapped", "big"},
     .prepare = [](Sandbox& b) {
         QFile f(b.t.path("big"));
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         ASSERT_EQ(::ftruncate(f.handle(), 2147483648LL), 0);   // sparse: no data blocks
     },
     .exitCode = 1,
     .err = "big: no digest: a file of 2 GB or more cannot be mapped"},
    {.name = "md5 check a list",
     .args = {"md5", "--check", "good.md5"},
     .prepare = digestLists,
     .out = "a.txt: OK\nb.txt: OK\n\\back\\\\slash: OK\n"},
    {.name = "md5 check from standard input",
     .args = {"md5", "--mode", "mapped", "--check", "-"},
     .prepare = digestLists,
     .input = "900150983cd24fb0d6963f7d28e17f72  {root}b.txt\n"
              "900150983cd24fb0d6963f7d28e17f72  {root}a.txt\n"
              "900150983cd24fb0d6963f7d28e17f72  {root}gone\n",
     .exitCode = 1,
     .out = "{root}b.txt: FAILED\n{root}a.txt: OK\n{root}gone: FAILED\n",
     .err = "Error opening {root}gone"},
    {.name = "md5 check a malformed list",
     .args = {"md5", "--check", "-"},
     .input = "not a digest line\n",
     .exitCode = 1,
     .err = "-: line 1: not a digest line"},
    {.name = "md5 bad mode", .args = {"md5", "--mode", "fast", "a.txt"}, .exitCode = 2, .err = kUsage + "md5"},
    {.name = "md5 usage", .args = {"md5"}, .exitCode = 2, .err = kUsage + "md5 [--mode auto|mapped|stream] FILE..."},

    // split
    {.name = "split by count",
     .args = {"split", "--count", "3", "s.bin", "piece"},
     .prepare = tenBytes,
     .check = [](Sandbox& b, const CliRun&) { expectPieces(b, "piece", {"012", "345", "678", "9"}); }},
    {.name = "split by size from a start",
     .args = {"split", "--size", "3", "--start", "4", "s.bin", "p"},
     .prepare = tenBytes,
     .check = [](Sandbox& b, const CliRun&) { expectPieces(b, "p", {"456", "789"}); }},
    {.name = "split missing file", .args = {"split", "--count", "2", "missing", "x"}, .exitCode = 1,
     .err = "orvo-cli: missing  不存在！"},
    {.name = "split empty file",
     .args = {"split", "--count", "2", "e.bin", "x"},
     .prepare = [](Sandbox& b) { b.t.file("e.bin", 0); },
     .exitCode = 1,
     .err = "orvo-cli: 文件为空,不能分割。"},
    {.name = "split start past the end",
     .args = {"split", "--count", "2", "--start", "10", "s.bin", "x"},
     .prepare = tenBytes,
     .exitCode = 1,
     .err = "orvo-cli: 分割开始位置超出文件大小: 10",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_EQ(entries(b.t.root()), QStringList{"s.bin"}); }},
    {.name = "split usage", .args = {"split", "s.bin", "x"}, .exitCode = 2,
     .err = kUsage + "split (--count N|--size BYTES) [--start POS] FILE BASE"},
    {.name = "split zero count", .args = {"split", "--count", "0", "s.bin", "x"}, .exitCode = 2, .err = kUsage + "split"},

    // merge
    {.name = "merge pieces",
     .args = {"merge", "piece1", "merged"},
     .prepare = fourPieces,
     .check = [](Sandbox& b, const CliRun&) { EXPECT_EQ(readAll(b.t.path("merged")), QByteArray("0123456789")); }},
    {.name = "merge missing piece", .args = {"merge", "nothing1", "out"}, .exitCode = 1,
     .err = "orvo-cli: nothing1  不存在！",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_FALSE(QFileInfo::exists(b.t.path("out"))); }},
    {.name = "merge usage", .args = {"merge", "piece1"}, .exitCode = 2, .err = kUsage + "merge PIECE OUT"},

    // attr
    {.name = "attr shows the window texts",
     .args = {"attr", "a.txt", "{root}d/", "missing"},
     .prepare = attrItems,
     .exitCode = 1,
     .out = "a.txt\t{*}\t1.50KB (1,536 字节)\t\t{*}\t2021-03-04 18:30:05\t2022-01-02 03:04:05\t0\t1\t0\t0\n"
            "d\t文件夹\t0.00KB ( 字节)\t\t{*}\t2021-03-04 18:30:05\t2022-01-02 03:04:05\t0\t0\t0\t0\n",
     .err = "orvo-cli attr: missing: No such file or directory"},
    {.name = "attr set round trip",
     .args = {"attr", "--set", "--readonly", "1", "--hidden", "1", "--modified", "2020-02-29 13:14:15", "a.txt"},
     .prepare = attrItems,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(modifiedOf(b.t.path("a.txt")), QDateTime(QDate(2020, 2, 29), QTime(13, 14, 14)));
         EXPECT_EQ(accessedOf(b.t.path("a.txt")), kAccessed);
         EXPECT_EQ(readAll(b.t.path(".hidden")), QByteArray("a.txt\n"));
         const CliRun shown = clitest::runCli(b, {"attr", "a.txt"});
         EXPECT_EQ(shown.exitCode, 0);
         EXPECT_TRUE(clitest::matchesPattern(QString::fromUtf8(shown.out),
                                             "a.txt\t{*}\t{*}\t\t{*}\t2020-02-29 13:14:14\t2022-01-02 03:04:05\t1\t1\t0\t1\n"))
             << shown.out.toStdString();
         const CliRun back = clitest::runCli(b, {"attr", "--set", "--readonly", "0", "--hidden", "0", "a.txt"});
         EXPECT_EQ(back.exitCode, 0) << back.err.toStdString();
         EXPECT_EQ(readAll(b.t.path(".hidden")), QByteArray());
         EXPECT_TRUE(QFileInfo(b.t.path("a.txt")).isWritable());
         EXPECT_EQ(readAll(b.t.path("a.txt")), QByteArray(1536, 'x'));   // last: reading may touch the access time
     }},
    {.name = "attr set the same time writes nothing",
     .args = {"attr", "--set", "--modified", "2021-03-04 18:30:05", "--accessed", "2022-01-02 03:04:05", "a.txt"},
     .prepare = attrItems,
     .check = [](Sandbox& b, const CliRun&) { expectUntouched(b, {"a.txt"}); }},
    {.name = "attr set the access time only",
     .args = {"attr", "--set", "--accessed", "2001-02-03 04:05:06", "b.txt"},
     .prepare = attrItems,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(accessedOf(b.t.path("b.txt")), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
         EXPECT_EQ(modifiedOf(b.t.path("b.txt")), kModified);
     }},
    {.name = "attr set refuses a read only file",
     .args = {"attr", "--set", "--modified", "2020-02-29 13:14:15", "a.txt", "b.txt"},
     .prepare = readOnlyA,
     .exitCode = 1,
     .err = "orvo-cli attr: a.txt: 目标文件正在被使用或是有只读属性或是文件夹, 日期时间修改操作失败！ (Permission denied)",
     .check = [](Sandbox& b, const CliRun&) {
         expectUntouched(b, {"a.txt"});
         EXPECT_EQ(modifiedOf(b.t.path("b.txt")), QDateTime(QDate(2020, 2, 29), QTime(13, 14, 14)));
     }},
    {.name = "attr set clears read only and sets the time",
     .args = {"attr", "--set", "--readonly", "0", "--modified", "2020-02-29 13:14:15", "a.txt"},
     .prepare = readOnlyA,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(modifiedOf(b.t.path("a.txt")), QDateTime(QDate(2020, 2, 29), QTime(13, 14, 14)));
     }},
    {.name = "attr set a folder time",
     .args = {"attr", "--set", "--modified", "2020-02-29 13:14:15", "d"},
     .prepare = attrItems,
     .exitCode = 1,
     .err = "orvo-cli attr: d: a folder's times are not changed",
     .check = [](Sandbox& b, const CliRun&) { expectUntouched(b, {"d"}); }},
    {.name = "attr set out of the packed years",
     .args = {"attr", "--set", "--modified", "1975-01-01 00:00:00", "a.txt"},
     .prepare = attrItems,
     .exitCode = 2,
     .err = "1975-01-01 00:00:00",
     .check = [](Sandbox& b, const CliRun&) { expectUntouched(b, {"a.txt"}); }},
    {.name = "attr help", .args = {"attr", "--help"}, .out = std::nullopt,
     .check = [](Sandbox&, const CliRun& r) {
         EXPECT_TRUE(r.out.contains("attr --set [--readonly 0|1] [--hidden 0|1] [--modified T] [--accessed T] PATH..."));
         EXPECT_TRUE(r.out.contains("redate T PATH..."));
     }},
    {.name = "attr usage", .args = {"attr"}, .exitCode = 2, .err = kUsage + "attr [--set"},
    {.name = "attr set without a change", .args = {"attr", "--set", "a.txt"}, .prepare = attrItems, .exitCode = 2,
     .err = kUsage + "attr"},
    {.name = "attr change without set", .args = {"attr", "--readonly", "1", "a.txt"}, .prepare = attrItems,
     .exitCode = 2, .err = kUsage + "attr",
     .check = [](Sandbox& b, const CliRun&) { EXPECT_TRUE(QFileInfo(b.t.path("a.txt")).isWritable()); }},
    {.name = "attr bad time", .args = {"attr", "--set", "--modified", "2020-02-30 00:00:00", "a.txt"},
     .prepare = attrItems, .exitCode = 2, .err = "“2020-02-30 00:00:00”不是有效的日期时间"},
    {.name = "attr bad flag", .args = {"attr", "--set", "--hidden", "yes", "a.txt"}, .prepare = attrItems,
     .exitCode = 2, .err = kUsage + "attr"},

    // redate
    {.name = "redate two files and a folder at midnight",
     .args = {"redate", "2019-07-08 00:00:00", "a.txt", "d", "b.txt"},
     .prepare = attrItems,
     .check = [](Sandbox& b, const CliRun&) {
         for (const char* name : {"a.txt", "b.txt"}) {
             EXPECT_EQ(modifiedOf(b.t.path(name)), QDateTime(QDate(2019, 7, 8), QTime(0, 0, 2))) << name;
             EXPECT_EQ(accessedOf(b.t.path(name)), kAccessed) << name;
         }
         expectUntouched(b, {"d"});
         EXPECT_EQ(readAll(b.t.path("b.txt")), QByteArray("bb"));
     }},
    {.name = "redate odd seconds",
     .args = {"redate", "2019-07-08 09:10:11", "a.txt"},
     .prepare = attrItems,
     .check = [](Sandbox& b, const CliRun&) {
         EXPECT_EQ(modifiedOf(b.t.path("a.txt")), QDateTime(QDate(2019, 7, 8), QTime(9, 10, 10)));
     }},
    {.name = "redate stops at a read only first file",
     .args = {"redate", "2019-07-08 09:10:11", "a.txt", "b.txt"},
     .prepare = readOnlyA,
     .exitCode = 1,
     .err = "orvo-cli redate: 不能打开 a.txt: Permission denied",
     .check = [](Sandbox& b, const CliRun&) { expectUntouched(b, {"a.txt", "b.txt"}); }},
    {.name = "redate out of the packed years", .args = {"redate", "2108-01-01 00:00:00", "a.txt"},
     .prepare = attrItems, .exitCode = 2, .err = "2108-01-01",
     .check = [](Sandbox& b, const CliRun&) { expectUntouched(b, {"a.txt"}); }},
    {.name = "redate bad time", .args = {"redate", "tomorrow", "a.txt"}, .prepare = attrItems, .exitCode = 2,
     .err = kUsage + "redate T PATH..."},
    {.name = "redate usage", .args = {"redate", "2019-07-08 09:10:11"}, .exitCode = 2, .err = kUsage + "redate T PATH..."},

    // compare
    {.name = "compare different files",
     .args = {"compare", "one.txt", "two.txt"},
     .prepare = twoTexts,
     .exitCode = 1,
     .out = "文件名:\tone.txt\ttwo.txt\n"
            " 1\ta\ta\n"
            "x2\tb\tB\n"
            "x3\tc\tc\n"
            "x\t\td\n"},
    {.name = "compare equal files",
     .args = {"compare", "one.txt", "one.txt"},
     .prepare = twoTexts,
     .out = "文件名:\tone.txt\tone.txt\n"
            " 1\ta\ta\n"
            " 2\tb\tb\n"
            " 3\tc\tc\n"},
    {.name = "compare missing file",
     .args = {"compare", "one.txt", "nofile"},
     .prepare = twoTexts,
     .exitCode = 2,
     .err = "orvo-cli compare: nofile: No such file or directory"},
    {.name = "compare refuses a FIFO",
     .args = {"compare", "one.txt", "pipe"},
     .prepare = [](Sandbox& b) {
         twoTexts(b);
         b.t.fifo(QStringLiteral("pipe"));
     },
     .exitCode = 2,
     .err = "orvo-cli compare: pipe: not a regular file"},
    {.name = "compare refuses a device",
     .args = {"compare", "/dev/zero", "one.txt"},
     .prepare = twoTexts,
     .exitCode = 2,
     .err = "orvo-cli compare: /dev/zero: not a regular file"},
    {.name = "compare refuses a folder",
     .args = {"compare", "one.txt", "{root}"},
     .prepare = twoTexts,
     .exitCode = 2,
     .err = ": Is a directory"},
    {.name = "compare usage", .args = {"compare", "one.txt"}, .exitCode = 2, .err = kUsage + "compare FILE1 FILE2"},

    // ps
    {.name = "ps lists the processes", .args = {"ps"}, .out = std::nullopt, .check = expectOwnProcessRow},
    {.name = "ps lists the modules of a process",
     .args = {"ps", "--modules", QString::number(::getpid())},
     .out = std::nullopt,
     .check = expectQtModuleRow},
    {.name = "ps modules of no process",
     .args = {"ps", "--modules", "4294967295"},
     .exitCode = 1,
     .err = "orvo-cli ps: no modules readable for process 4294967295"},
    {.name = "ps usage", .args = {"ps", "--modules"}, .exitCode = 2, .err = kUsage + "ps [--modules PID | --windows]"},
    {.name = "ps bad process id", .args = {"ps", "--modules", "x"}, .exitCode = 2, .err = kUsage + "ps"},
    {.name = "ps one list at a time", .args = {"ps", "--windows", "--modules", "1"}, .exitCode = 2, .err = kUsage + "ps"},
    {.name = "picture of a Targa", .args = {"picture", "a.tga", "out.png"}, .prepare = targaFile,
     .check = pngOfSize({40, 20})},
    {.name = "picture no larger than a size", .args = {"picture", "--max-size", "10", "a.tga", "out.png"},
     .prepare = targaFile, .check = pngOfSize({10, 5})},
    {.name = "picture of a damaged file", .args = {"picture", "bad.jpg", "out.png"}, .prepare = targaFile,
     .exitCode = 1, .err = "orvo-cli picture: bad.jpg: cannot decode (JPEG): ", .check = noOutput},
    {.name = "picture of a type without decoder", .args = {"picture", "a.wmf", "out.png"}, .prepare = targaFile,
     .exitCode = 1, .err = "orvo-cli picture: a.wmf: cannot decode (WMF): no decoder", .check = noOutput},
    {.name = "picture of a missing file", .args = {"picture", "none.png", "out.png"}, .exitCode = 1,
     .err = "orvo-cli picture: none.png: cannot read: No such file or directory", .check = noOutput},
    {.name = "picture into a missing folder", .args = {"picture", "a.tga", "no/out.png"}, .prepare = targaFile,
     .exitCode = 1, .err = "orvo-cli picture: no/out.png: No such file or directory"},
    {.name = "picture usage", .args = {"picture", "a.tga"}, .exitCode = 2,
     .err = kUsage + "picture [--max-size N] FILE OUT.png"},
    {.name = "picture size not a number", .args = {"picture", "--max-size", "0", "a.tga", "out.png"}, .exitCode = 2,
     .err = kUsage + "picture [--max-size N] FILE OUT.png"},
};

class Cli : public ::testing::TestWithParam<CliCase> {};

TEST_P(Cli, ExitCodeOutputAndFiles)
{
    const CliCase& c = GetParam();
    Sandbox box;
    if (c.prepare)
        c.prepare(box);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    if (c.args == QStringList{"trash", "--empty"})
        expectNoVolumeTrash();
    ASSERT_FALSE(::testing::Test::HasFatalFailure());

    const CliRun r = clitest::runCli(box, c.args, c.input, c.outputToFullDisk, c.in);
    const std::string printed = "stdout:\n" + r.out.toStdString() + "\nstderr:\n" + r.err.toStdString();
    EXPECT_EQ(r.exitCode, c.exitCode) << printed;
    if (c.out)
        EXPECT_TRUE(clitest::matchesPattern(QString::fromUtf8(r.out), box.expand(*c.out)))
            << "expected stdout:\n" << box.expand(*c.out).toStdString() << "\n" << printed;
    if (c.err.isEmpty())
        EXPECT_EQ(r.err, QByteArray()) << printed;
    else
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(box.expand(c.err))) << printed;
    if (c.check)
        c.check(box, r);
}

INSTANTIATE_TEST_SUITE_P(Commands, Cli, ::testing::ValuesIn(kCases), test::NameField());

// SIGINT, SIGTERM and SIGHUP during a copy: the temporary copy goes, the final name never appears, the
// source stays, and the program ends by that signal.
TEST(CliSignals, ACopyEndedBySignalLeavesNoPart)
{
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        Sandbox box;
        for (int i = 0; i < 4000; ++i)
            box.t.file(QStringLiteral("src/f%1").arg(i), 1);
        box.t.dir(QStringLiteral("dst"));
        QProcess p;
        p.setProcessEnvironment(box.environment());
        p.setWorkingDirectory(box.t.root());
        p.start(QStringLiteral(ORVO_CLI_PATH), {"copy", "src", "dst"});
        ASSERT_TRUE(p.waitForStarted());
        // Signalled once the copy is under way: its temporary folder exists.
        while (!QFileInfo::exists(box.t.path("dst/.src.orvo-part"))) {
            if (p.waitForFinished(1))
                break;
        }
        ASSERT_EQ(p.state(), QProcess::Running) << "the copy ended before it could be signalled";
        ::kill(pid_t(p.processId()), sig);
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << p.readAllStandardError().toStdString();
        EXPECT_EQ(entries(box.t.path("dst")), QStringList());
        EXPECT_EQ(entries(box.t.path("src")).size(), 4000);
    }
}

// A copy into a folder removes the temporary copy a killed run of the same name left there.
TEST(CliSignals, AKilledCopysPartIsRemovedByTheNextCopy)
{
    Sandbox box;
    box.t.file(QStringLiteral("a.txt"), QByteArray("new"));
    box.t.file(QStringLiteral("dst/.a.txt.orvo-part"), QByteArray("ne"));
    const CliRun r = clitest::runCli(box, {"copy", "a.txt", "dst"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(entries(box.t.path("dst")), QStringList{"a.txt"});
    EXPECT_EQ(readAll(box.t.path("dst/a.txt")), QByteArray("new"));
}

// Without a display the window list is refused with a reason.
TEST(CliPs, TheWindowListNeedsADisplay)
{
    Sandbox box;
    QProcessEnvironment env = box.environment();
    env.remove(QStringLiteral("DISPLAY"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVO_CLI_PATH), {"ps", "--windows"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_EQ(p.readAllStandardOutput(), QByteArray());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()),
              QStringLiteral("orvo-cli ps: no X11 display: the window list needs one (set DISPLAY)\n"));
}

} // namespace
