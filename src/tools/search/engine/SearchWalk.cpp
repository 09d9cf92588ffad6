#include "tools/search/engine/SearchWalk.h"
#include "platform/Path.h"
#include "tools/search/engine/ContentSearch.h"
#include "tools/search/engine/FolderScan.h"
#include "tools/search/engine/NameMask.h"
#include <algorithm>

namespace search {
namespace {

TSearchRec makeRecord(const plat::FindData& e)
{
    TSearchRec rec;
    rec.Time = packedLocalTime(e.writeNs);
    rec.Size = e.size;
    rec.Attr = e.attributes;
    rec.Name = e.name;
    rec.FindData = e;
    return rec;
}

} // namespace

QString eventFolder(const QString& folderWithSep)
{
    return plat::path::withoutTrailingSep(folderWithSep);
}

SearchWalk::SearchWalk(const SearchSnapshot& snapshot, Events events) : m_snap(snapshot), m_events(std::move(events))
{
    const SearchSnapshot& s = m_snap;
    m_anyDates = s.createdBefore != 0 || s.createdAfter != 0 || s.modifiedBefore != 0 || s.modifiedAfter != 0
        || s.accessedBefore != 0 || s.accessedAfter != 0;
    if (!s.containing.isEmpty())
        m_content = std::make_unique<ContentMatcher>(s.containing, s.ignoreCase);
}

SearchWalk::~SearchWalk() = default;

void SearchWalk::run()
{
    for (const QString& target : m_snap.targets) {
        m_ancestors.clear();
        searchFolder(plat::path::normalizeFolder(plat::path::folderPart(target)), plat::path::namePart(target));
        if (stopped())
            break;
    }
}

void SearchWalk::searchFolder(const QString& folder, const QString& mask)
{
    FolderScan scan;
    const bool readable = scan.read(folder, [this] { return stopped(); });
    const Identity self{scan.dev(), scan.ino()};
    // A folder mounted inside itself (bind mount) would repeat forever; links are never entered anyway.
    if (readable && std::any_of(m_ancestors.begin(), m_ancestors.end(), [&](const Identity& a) {
            return a.dev == self.dev && a.ino == self.ino;
        }))
        return;
    const QString reported = eventFolder(folder);
    if (m_events.newFolder && !m_events.newFolder(reported))
        return;
    if (stopped() || !readable)
        return;

    // Entries that match the mask, in directory order; dot names (also "." and "..") are skipped.
    const NameMask matcher(mask);
    plat::FindData entry;
    QString name;
    for (const FolderScan::Record& r : scan.records()) {
        if (stopped())
            return;
        const char* raw = scan.name(r);
        if (raw[0] == '.' || !matcher.matches(raw, r.nameLength, name))
            continue;
        if (name.isEmpty())
            name = plat::path::decode(raw);
        if (!scan.findData(r, name, entry))
            continue;
        if (passes(folder, entry) && m_events.found)
            m_events.found(reported, makeRecord(entry));
    }
    if (!m_snap.subfolders || stopped())
        return;

    // Then each subfolder in directory order, depth first; links to folders are not entered.
    std::vector<QString> subs;
    for (const FolderScan::Record& r : scan.records()) {
        const char* raw = scan.name(r);
        if (raw[0] != '.' && scan.isRealFolder(r))
            subs.push_back(plat::path::decode(raw));
    }
    scan.close();
    m_ancestors.push_back(self);
    for (const QString& sub : subs) {
        if (stopped())
            break;
        searchFolder(folder + sub + u'/', mask);
    }
    m_ancestors.pop_back();
}

bool SearchWalk::attributesPass(quint32 attr) const
{
    const TFileAttributes mapped = TFileAttributes::fromPlatform(attr);
    if (m_snap.exactAttribute)
        return mapped == m_snap.attributes;
    return mapped.isEmpty() || mapped.intersects(m_snap.attributes);
}

bool SearchWalk::datesPass(const plat::FindData& e) const
{
    const SearchSnapshot& s = m_snap;
    auto check = [](plat::posix::FileTime t, TDateTime before, TDateTime after) {
        return (before == 0 && after == 0) || passesDateBounds(localMoment(t), before, after);
    };
    return check(e.creationNs, s.createdBefore, s.createdAfter) && check(e.writeNs, s.modifiedBefore, s.modifiedAfter)
        && check(e.accessNs, s.accessedBefore, s.accessedAfter);
}

bool SearchWalk::excluded(const QString& folder, const QString& name)
{
    if (m_upperFolderOf != folder) {
        m_upperFolderOf = folder;
        m_upperFolder = upperAscii(folder);
    }
    const QString upperName = upperAscii(name);
    for (const ExcludePattern& p : m_snap.excludes)
        if (excludeMatches(p, m_upperFolder, upperName))
            return true;
    return false;
}

bool SearchWalk::passes(const QString& folder, const plat::FindData& e)
{
    if (!attributesPass(e.attributes))
        return false;
    const bool dir = e.isDir();
    if (!dir) {
        if (m_snap.sizeMin != 0 && e.size < m_snap.sizeMin)
            return false;
        if (m_snap.sizeMax != 0 && e.size > m_snap.sizeMax)
            return false;
    }
    if (m_anyDates && !datesPass(e))
        return false;
    if (!m_snap.excludes.empty() && excluded(folder, e.name))
        return false;
    if (m_content && !dir) {
        // Only regular files are read: a FIFO would block, a device might never end.
        if (!(e.attributes & plat::kAttrArchive))
            return false;
        return m_content->fileContains(plat::path::encode(folder + e.name).constData(), [this] { return stopped(); });
    }
    return true;
}

} // namespace search
