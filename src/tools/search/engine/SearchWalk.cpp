#include "tools/search/engine/SearchWalk.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "tools/search/engine/ContentSearch.h"
#include <algorithm>

namespace search {
namespace {

bool dotName(const QString& name)
{
    return name.startsWith(u'.');
}

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
        const QString folder = plat::path::normalizeFolder(plat::path::folderPart(target));
        m_ancestors.clear();
        if (const auto self = m_snap.fs->find(folder))
            m_ancestors.push_back({self->dev, self->ino});
        searchFolder(folder, plat::path::namePart(target));
        if (stopped())
            break;
    }
}

void SearchWalk::searchFolder(const QString& folder, const QString& mask)
{
    const QString reported = eventFolder(folder);
    if (m_events.newFolder && !m_events.newFolder(reported))
        return;
    if (stopped())
        return;
    const plat::Heartbeat alive = [this] { return !stopped(); };

    m_snap.fs->enumerateKind(
        folder, mask, plat::KindFilter::Any,
        [&](const plat::FindData& e) {
            if (stopped())
                return false;
            if (!dotName(e.name) && passes(folder, e) && m_events.found)
                m_events.found(reported, makeRecord(e));
            return !stopped();
        },
        alive);
    if (!m_snap.subfolders || stopped())
        return;

    // Subfolders in enumeration order; links to folders are never entered, so the walk has no cycles.
    struct Sub {
        QString name;
        Identity id;
    };
    std::vector<Sub> subs;
    m_snap.fs->enumerateKind(
        folder, QStringLiteral("*"), plat::KindFilter::FoldersOnly,
        [&](const plat::FindData& e) {
            if (!dotName(e.name) && !e.isLink)
                subs.push_back({e.name, {e.dev, e.ino}});
            return !stopped();
        },
        alive);
    for (const Sub& sub : subs) {
        if (stopped())
            return;
        // A folder mounted inside itself (bind mount) would repeat forever.
        const bool cycle = std::any_of(m_ancestors.begin(), m_ancestors.end(), [&](const Identity& a) {
            return a.dev == sub.id.dev && a.ino == sub.id.ino;
        });
        if (cycle)
            continue;
        m_ancestors.push_back(sub.id);
        searchFolder(folder + sub.name + u'/', mask);
        m_ancestors.pop_back();
    }
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
    auto check = [](qint64 ns, TDateTime before, TDateTime after) {
        return (before == 0 && after == 0) || passesDateBounds(localMoment(ns), before, after);
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
