#include "filelist/engine/SubfolderReader.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include <QCollator>
#include <algorithm>

namespace filelist {

namespace {

bool isDotEntry(const QString& name)
{
    return name == QLatin1String(".") || name == QLatin1String("..");
}

plat::IFileSystem* fileSystem()
{
    static plat::LinuxFileSystem fallback;
    plat::IFileSystem* fs = plat::services().fs;
    return fs ? fs : &fallback;
}

} // namespace

bool hasSubfolder(const QString& folder)
{
    bool found = false;
    fileSystem()->enumerateKind(plat::path::withTrailingSep(folder), QStringLiteral("*"), plat::KindFilter::FoldersOnly,
                                [&](const plat::FindData& fd) {
                                    found = !isDotEntry(fd.name);
                                    return !found;
                                });
    return found;
}

QList<Subfolder> readSubfolders(const QString& folder, const std::atomic_bool* stop)
{
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    const QString dir = plat::path::withTrailingSep(folder);
    QList<Subfolder> out;
    fileSystem()->enumerateKind(dir, QStringLiteral("*"), plat::KindFilter::FoldersOnly,
                                [&](const plat::FindData& fd) {
                                    if (!isDotEntry(fd.name))
                                        out.append(Subfolder{fd.name, false});
                                    return !stopped();
                                },
                                [&] { return !stopped(); });
    for (Subfolder& s : out) {
        if (stopped())
            break;
        s.hasChildren = hasSubfolder(dir + s.name);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(out.begin(), out.end(), [&](const Subfolder& a, const Subfolder& b) {
        const int c = collator.compare(a.name, b.name);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return out;
}

} // namespace filelist
