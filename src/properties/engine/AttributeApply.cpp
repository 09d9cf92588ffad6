#include "properties/engine/AttributeApply.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Times.h"
#include "properties/engine/PackedTime.h"

namespace properties {

namespace {

QString unreadableText(const QString& text)
{
    return QStringLiteral("“%1”不是有效的日期时间").arg(text);
}

// The requested value of one time, or nothing when it is not requested.
std::optional<plat::posix::FileTime> requested(const QString& text, bool checked, plat::posix::FileTime own)
{
    const QString t = text.trimmed();
    if (!checked || t == timeText(own))
        return std::nullopt;
    const std::optional<quint32> packed = packLocalText(t);
    if (!packed)
        throw EAttributeError(QStringLiteral("“%1”超出可写入的日期范围（1980-01-01 至 2107-12-31）").arg(t));
    const std::optional<plat::posix::FileTime> utc = packedToFileTime(*packed);
    if (!utc)
        throw EAttributeError(unreadableText(t));
    return utc;
}

} // namespace

AttributeSettings AttributeSettings::of(const ItemInfo& item)
{
    AttributeSettings s;
    s.readOnly = item.attributes & plat::kAttrReadOnly;
    s.archive = item.attributes & plat::kAttrArchive;
    s.system = item.attributes & plat::kAttrSystem;
    s.hidden = item.attributes & plat::kAttrHidden;
    s.creationText = timeText(item.creation);
    s.writeText = timeText(item.write);
    s.accessText = timeText(item.access);
    return s;
}

void checkTimeTexts(const AttributeSettings& s)
{
    for (const QString* text : {&s.creationText, &s.writeText, &s.accessText})
        if (!plat::parseLocalTime(text->trimmed()))
            throw EAttributeError(unreadableText(*text));
}

ApplyResult applySettings(const ItemInfo& item, const AttributeSettings& s)
{
    checkTimeTexts(s);
    ApplyResult r;
    const std::optional<plat::posix::FileTime> write = requested(s.writeText, s.writeChecked, item.write);
    const std::optional<plat::posix::FileTime> access = requested(s.accessText, s.accessChecked, item.access);

    quint32 wanted = item.attributes;
    const auto set = [&wanted](quint32 bit, bool on) { wanted = on ? (wanted | bit) : (wanted & ~bit); };
    set(plat::kAttrReadOnly, s.readOnly);
    set(plat::kAttrHidden, s.hidden);
    const bool attributesDiffer = wanted != item.attributes;
    const auto writeAttributes = [&] {
        r.attributeError = plat::setAttributes(item.path, wanted);
        r.changed = true;
    };
    // A file that becomes read-only gets its times first: a read-only file's times cannot be set.
    const bool becomesReadOnly = (wanted & plat::kAttrReadOnly) && !(item.attributes & plat::kAttrReadOnly);
    if (attributesDiffer && !becomesReadOnly)
        writeAttributes();

    r.writeRequested = write.has_value();
    r.accessRequested = access.has_value();
    if (write || access) {
        r.changed = true;
        if (!item.isDir()) {   // a folder's times are not written
            r.timeError = plat::setFileTimes(item.path, access, write);
            r.timesWritten = r.timeError == 0;
        }
    }
    if (attributesDiffer && becomesReadOnly)
        writeAttributes();
    return r;
}

QString timeChangeFailedText()
{
    return QStringLiteral("目标文件正在被使用或是有只读属性或是文件夹,\r日期时间修改操作失败！");
}

} // namespace properties
