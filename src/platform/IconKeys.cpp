#include "platform/IconKeys.h"
#include <QHash>
#include <QMutex>
#include <QStringList>

namespace plat {
namespace {
struct Table {
    QMutex mutex;
    QHash<QString, int> index;
    QStringList keys;
};
Table& table()
{
    static Table t;
    return t;
}
} // namespace

int iconIndex(const QString& key)
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    auto it = t.index.constFind(key);
    if (it != t.index.constEnd())
        return it.value();
    const int i = int(t.keys.size());
    t.keys.append(key);
    t.index.insert(key, i);
    return i;
}

QString iconKeyAt(int index)
{
    Table& t = table();
    QMutexLocker lock(&t.mutex);
    return index >= 0 && index < t.keys.size() ? t.keys.at(index) : QString();
}

} // namespace plat
