// Operands that name no item of their own (nothing, the current folder or its parent) are refused by the
// engine itself, whatever the caller: nothing is copied, moved, trashed or deleted.
#include "FileOpsHelpers.h"
#include "fileops/engine/FileOpJob.h"
#include "fileops/engine/Trash.h"

using namespace fotest;

namespace {

// Runs the test in `dir` as the working folder and returns to the previous one afterwards.
class InFolder {
public:
    explicit InFolder(const QString& dir) : m_old(QDir::currentPath()) { EXPECT_TRUE(QDir::setCurrent(dir)); }
    ~InFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

struct OpKind {
    const char* name;
    int op;
    unsigned flags;
    bool toDest;
};

const OpKind kOps[] = {
    {"delete for good", fileops::FO_DELETE, fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT, false},
    {"delete to the trash", fileops::FO_DELETE, fileops::FOF_ALLOWUNDO | fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT,
     false},
    {"move", fileops::FO_MOVE, fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT | fileops::FOF_NOCONFIRMMKDIR, true},
    {"copy", fileops::FO_COPY, fileops::FOF_NOCONFIRMATION | fileops::FOF_SILENT | fileops::FOF_NOCONFIRMMKDIR, true},
};

const char* const kOperands[] = {"", ".", "./", "..", "../", "inner/..", "inner/.", "../cwd/.", "inner/../.."};

TEST(Operands, NothingDotAndDotDotAreRefusedAndNothingIsTouched)
{
    test::TempTree t;
    t.file("box/cwd/inner/f", QByteArray("f"));
    t.file("box/cwd/g", QByteArray("g"));
    t.file("box/sibling/s", QByteArray("s"));
    t.dir("box/dest");
    const QStringList before = snapshot(t.path("box"));
    const QStringList trashBefore = snapshot(fileops::TrashCan::homeTrash());
    InFolder in(t.path("box/cwd"));
    for (const OpKind& k : kOps) {
        for (const char* operand : kOperands) {
            SCOPED_TRACE(std::string(k.name) + " \"" + operand + "\"");
            fileops::SilentPrompter ui;
            const QStringList targets = k.toDest ? QStringList{t.path("box/dest")} : QStringList();
            const fileops::FileOpResult r = run(k.op, k.flags, {QString::fromLatin1(operand)}, targets, ui);
            EXPECT_FALSE(r.success());
            ASSERT_EQ(r.problems.size(), 1);
            EXPECT_TRUE(r.problems.first().contains(QStringLiteral("已拒绝"))) << r.problems.first().toStdString();
            EXPECT_EQ(snapshot(t.path("box")), before);
            EXPECT_EQ(snapshot(fileops::TrashCan::homeTrash()), trashBefore);
        }
    }
}

TEST(Operands, TheTrashRefusesThemToo)
{
    test::TempTree t;
    t.file("box/cwd/inner/f", QByteArray("f"));
    const QStringList before = snapshot(t.path("box"));
    InFolder in(t.path("box/cwd"));
    for (const char* operand : kOperands) {
        EXPECT_EQ(fileops::TrashCan::trash(QString::fromLatin1(operand)), EINVAL) << operand;
        EXPECT_EQ(snapshot(t.path("box")), before) << operand;
    }
}

TEST(Operands, OnlyPathsWithAnItemOfTheirOwnPass)
{
    struct Row {
        const char* path;
        bool item;
        bool itemWithRoot;
    };
    const Row rows[] = {
        {"", false, false},        {"/", false, true},       {"//", false, true},     {".", false, false},
        {"..", false, false},      {"a/.", false, false},    {"a/..//", false, false}, {"/..", false, false},
        {"a", true, true},         {"a/", true, true},       {".a", true, true},      {"..a", true, true},
        {"a/...", true, true},     {"/a/b", true, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fileops::namesOneItem(QString::fromLatin1(row.path)), row.item) << row.path;
        EXPECT_EQ(fileops::namesOneItem(QString::fromLatin1(row.path), true), row.itemWithRoot) << row.path;
    }
}

} // namespace
