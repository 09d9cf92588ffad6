#include "fileops/engine/ErrorTexts.h"

namespace fileops::texts {

namespace {

QString verbText(Verb v)
{
    switch (v) {
    case Verb::Run: return QStringLiteral("执行");
    case Verb::Copy: return QStringLiteral("复制");
    case Verb::Move: return QStringLiteral("移动");
    case Verb::Create: return QStringLiteral("创建");
    case Verb::Delete: return QStringLiteral("删除");
    case Verb::Rename: return QStringLiteral("重命名");
    }
    return QString();
}

QString reasonText(const ItemError& e)
{
    switch (e.reason) {
    case ItemError::System: return plat::posix::errnoText(e.sys.code);
    case ItemError::IntoItself: return QStringLiteral("目标文件夹是源文件夹本身或它的子文件夹");
    case ItemError::NotFileFolderOrLink: return QStringLiteral("不是普通文件、文件夹或链接");
    case ItemError::ChangedDuringMove: return QStringLiteral("移动时被修改或新建，已保留");
    case ItemError::NotKeptWhole: return QStringLiteral("目标位置无法保存它的所有者或扩展属性，已保留");
    case ItemError::NotOneItem: return QStringLiteral("路径为空、以“.”或“..”结尾或是根文件夹，已拒绝");
    }
    return QString();
}

} // namespace

QString failure(const ItemError& e)
{
    return QStringLiteral("无法%1“%2”：%3").arg(verbText(e.verb), e.sys.path, reasonText(e));
}

QString skipped(const QString& path, SkipReason why, int code)
{
    QString reason;
    switch (why) {
    case SkipReason::NoTargetFolder: reason = QStringLiteral("目标文件夹不存在"); break;
    case SkipReason::NotReplaced: reason = QStringLiteral("目标位置已有同名的项目，未替换"); break;
    case SkipReason::NotTrashed: reason = QStringLiteral("无法移到回收站：") + plat::posix::errnoText(code); break;
    }
    return QStringLiteral("已跳过“%1”：%2").arg(path, reason);
}

QString cancelled()
{
    return QStringLiteral("操作已取消");
}

QString missingSource(const QString& path)
{
    return QStringLiteral("无法读取源文件（夹）“") + path +
           QStringLiteral("”，源文件（夹）不存在，可能被删除或者被改名了。此项操作取消。");
}

QString sameFolderAsSource(const QString& folder)
{
    return QStringLiteral("目标文件夹“") + folder + QStringLiteral("”和源文件夹相同，此项操作取消。");
}

QString targetInsideSource(const QString& folder)
{
    return QStringLiteral("目标文件夹是源文件夹“") + folder + QStringLiteral("”的子文件夹，此项操作取消。");
}

QString driveOrParentNotTransferred()
{
    return QStringLiteral("  磁盘或上一级文件夹不能复制或者剪贴。此项操作已跳过。");
}

QString pasteTargetMissing()
{
    return QStringLiteral("粘贴到的路径不存在，粘贴取消。");
}

QString nothingToPaste()
{
    return QStringLiteral("无文件选择复制或是剪切。");
}

QString pasteIntoDrives()
{
    return QStringLiteral("不能粘贴到DRIVES，粘贴已取消。");
}

QString pasteTargetEmpty()
{
    return QStringLiteral("粘贴到的路径不能为空，粘贴已取消。");
}

QString dropTargetEmpty()
{
    return QStringLiteral("目标文件夹不能为空");
}

QString dropCancelled()
{
    return QStringLiteral("  操作取消。 ");
}

QString dropFailed()
{
    return QStringLiteral(" 操作失败! ");
}

} // namespace fileops::texts
