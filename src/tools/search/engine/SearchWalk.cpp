#include "tools/search/engine/SearchWalk.h"
#include "platform/Path.h"
#include "tools/search/engine/FolderScan.h"
#include "tools/search/engine/NameMask.h"
#include "tools/search/engine/SearchPipeline.h"
#include <algorithm>
#include <thread>

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
}

SearchWalk::~SearchWalk() = default;

void SearchWalk::run()
{
    if (m_snap.containing.isEmpty()) {
        walkTargets();
        return;
    }
    // Walk on a second thread, which also tests contents; deliver the events here, in the walk's order.
    SearchPipeline pipeline(m_snap.containing, m_snap.ignoreCase, m_events.stopped);
    m_pipeline = &pipeline;
    std::thread walker([this, &pipeline] {
        std::exception_ptr error;
        try {
            walkTargets();
        } catch (...) {
            error = std::current_exception();
        }
        pipeline.walkEnded(error);
    });
    std::exception_ptr failure;
    try {
        pipeline.deliver({m_events.newFolder, m_events.found, m_events.stopped});
    } catch (...) {
        failure = std::current_exception();
    }
    pipeline.cancel();
    walker.join();
    m_pipeline = nullptr;
    if (failure)
        std::rethrow_exception(failure);
}

void SearchWalk::walkTargets()
{
    for (const QString& target : m_snap.targets) {
        m_ancestors.clear();
        m_openFolders.clear();
        m_depth = 0;
        searchFolder(plat::path::normalizeFolder(plat::path::folderPart(target)), plat::path::namePart(target));
        if (stopped())
            break;
    }
}

bool SearchWalk::stopped() const
{
    return (m_pipeline && m_pipeline->cancelled()) || (m_events.stopped && m_events.stopped());
}

bool SearchWalk::halted() const
{
    if (stopped())
        return true;
    if (!m_pipeline)
        return false;
    const quint64 skipped = m_pipeline->prunedFolder();
    return skipped != 0 && std::find(m_openFolders.begin(), m_openFolders.end(), skipped) != m_openFolders.end();
}

bool SearchWalk::announce(const QString& reported)
{
    if (m_pipeline) {
        // The answer comes later on the delivering side; a skip then prunes the folder (halted()).
        m_openFolders.push_back(m_pipeline->addFolder(reported, m_depth));
        return true;
    }
    return !m_events.newFolder || m_events.newFolder(reported);
}

void SearchWalk::report(const QString& reported, const plat::FindData& entry, const QByteArray& folderBytes,
                        const char* rawName)
{
    if (!m_pipeline) {
        if (m_events.found)
            m_events.found(reported, makeRecord(entry));
        return;
    }
    // Only regular files are read: a FIFO would block, a device might never end. Folders need no test.
    QByteArray path;
    if (!entry.isDir()) {
        if (!(entry.attributes & plat::kAttrArchive))
            return;
        path = folderBytes + rawName;
    }
    m_pipeline->addEntry(reported, makeRecord(entry), m_depth, std::move(path));
}

void SearchWalk::searchFolder(const QString& folder, const QString& mask)
{
    if (m_pipeline)
        m_pipeline->walkPauses();
    FolderScan scan;
    const bool readable = scan.read(folder, [this] { return stopped(); });
    const Identity self{scan.dev(), scan.ino()};
    // A folder mounted inside itself (bind mount) would repeat forever; links are never entered anyway.
    if (readable && std::any_of(m_ancestors.begin(), m_ancestors.end(), [&](const Identity& a) {
            return a.dev == self.dev && a.ino == self.ino;
        }))
        return;
    const QString reported = eventFolder(folder);
    const size_t openFolders = m_openFolders.size();
    const bool entered = announce(reported);
    struct Leave {   // the folder's serial is dropped however the walk leaves it
        std::vector<quint64>& open;
        size_t size;
        ~Leave() { open.resize(size); }
    } leave{m_openFolders, openFolders};
    if (!entered || halted() || !readable)
        return;
    const QByteArray folderBytes = m_pipeline ? plat::path::encode(folder) : QByteArray();

    // Entries that match the mask, in directory order; dot names (also "." and "..") are skipped.
    const NameMask matcher(mask);
    plat::FindData entry;
    QString name;
    for (const FolderScan::Record& r : scan.records()) {
        if (halted())
            return;
        const char* raw = scan.name(r);
        if (raw[0] == '.' || !matcher.matches(raw, r.nameLength, name))
            continue;
        if (name.isEmpty())
            name = plat::path::decode(raw);
        if (!scan.findData(r, name, entry))
            continue;
        if (passesBeforeContent(folder, entry))
            report(reported, entry, folderBytes, raw);
    }
    if (!m_snap.subfolders || halted())
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
    ++m_depth;
    for (const QString& sub : subs) {
        if (halted())
            break;
        searchFolder(folder + sub + u'/', mask);
    }
    --m_depth;
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

bool SearchWalk::passesBeforeContent(const QString& folder, const plat::FindData& e)
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
    return m_snap.excludes.empty() || !excluded(folder, e.name);
}

} // namespace search
