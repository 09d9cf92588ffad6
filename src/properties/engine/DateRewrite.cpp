#include "properties/engine/DateRewrite.h"
#include "platform/Path.h"
#include "platform/Times.h"
#include "properties/engine/AttributeApply.h"
#include "properties/engine/PackedTime.h"

namespace properties {

QDateTime rewriteValue(const QDate& date, const QTime& time)
{
    const std::optional<quint32> packed = packLocal(date, withMidnightRule(time));
    if (!packed)
        return QDateTime();
    return QDateTime(packedDate(*packed), packedTime(*packed));
}

RewriteOutcome rewriteWriteTimes(const QStringList& files, const QDate& date, const QTime& time)
{
    const std::optional<quint32> packed = packLocal(date, withMidnightRule(time));
    const std::optional<plat::posix::FileTime> value = packed ? packedToFileTime(*packed) : std::nullopt;
    if (!value)
        throw EAttributeError(QStringLiteral("“%1 %2”超出可写入的日期范围（1980-01-01 至 2107-12-31）")
                                  .arg(date.toString(u"yyyy-MM-dd"), time.toString(u"HH:mm:ss")));
    RewriteOutcome out;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (const int e = plat::setFileTimes(files[i], std::nullopt, *value)) {
            out.failedIndex = i;
            out.error = e;
            break;
        }
        ++out.written;
    }
    return out;
}

QString cannotOpenText(const QString& path)
{
    return QStringLiteral("不能打开 ") + plat::path::namePart(plat::path::withoutTrailingSep(path));
}

QString nothingSelectedText()
{
    return QStringLiteral("无文件选择 ");
}

} // namespace properties
