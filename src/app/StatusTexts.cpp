#include "app/StatusTexts.h"
#include "platform/NumberFormat.h"

namespace app {

QString statusPanel0(const ListFigures& f)
{
    QString text = QStringLiteral("  ") + QString::number(f.itemCount) + QStringLiteral(" 个项目");
    if (f.hasSelection)
        text += QStringLiteral(" -- ") + QString::number(f.selectedNumber) + QStringLiteral(" 个选择 ");
    return text;
}

QString statusPanel1(const ListFigures& f)
{
    if (!f.hasSelection)
        return QStringLiteral("        当前文件夹总文件大小 = ") + plat::formatPicture(f.folderTotal, u"###,##0 字节") +
               QStringLiteral(" (不包括子文件夹的文件大小)");
    const double freeMB = double(f.freeKB) / 1024.0;
    return QStringLiteral("        选择的总文件大小 = ") + plat::formatPicture(f.selectedSize, u"###,##0 字节") +
           QStringLiteral(" ( 磁盘剩余空间: ") +
           plat::formatPicture(freeMB, f.listTwo ? u"###,###.00 MB" : u"###,##0.00 MB") + QStringLiteral(" )");
}

} // namespace app
