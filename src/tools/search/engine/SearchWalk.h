#pragma once
#include "tools/search/engine/ExcludeMatch.h"
#include "tools/search/engine/FindTypes.h"
#include <QByteArray>
#include <QStringList>
#include <functional>
#include <vector>

namespace search {

class SearchPipeline;

// The parameters of one search, taken by TFindFile::Execute; the walk reads only this.
struct SearchSnapshot {
    QStringList targets;                    // full folder path + mask, one per start folder
    std::vector<ExcludePattern> excludes;
    bool subfolders = true;
    TFileAttributes attributes;
    bool exactAttribute = false;
    TDateTime createdBefore = 0, createdAfter = 0;
    TDateTime modifiedBefore = 0, modifiedAfter = 0;
    TDateTime accessedBefore = 0, accessedAfter = 0;
    qint64 sizeMin = 0, sizeMax = 0;        // bytes, 0 = no bound
    bool ignoreCase = true;                 // used only with a text to find
    QByteArray containing;                  // UTF-8 bytes; empty = no content test
};

// Walks the targets of a snapshot: for each folder, first its entries that match the mask and pass the
// tests, then (with subfolders) each subfolder in enumeration order, depth first. Names that begin with
// "." are neither reported nor entered; linked folders are reported but never entered.
//
// A search for a text walks on a second thread and tests the contents of files on both (SearchPipeline);
// the events are raised on the calling thread in the same order as a walk on one thread raises them.
class SearchWalk {
public:
    struct Events {
        std::function<bool(const QString& folder)> newFolder;   // false = skip this folder and its subfolders
        std::function<void(const QString& folder, const TSearchRec& rec)> found;
        std::function<bool()> stopped;
    };

    SearchWalk(const SearchSnapshot& snapshot, Events events);
    ~SearchWalk();
    void run();

private:
    struct Identity {
        quint64 dev, ino;
    };
    void walkTargets();
    void searchFolder(const QString& folder, const QString& mask);
    // Raises (or queues) a folder's announcement; false when the folder is to be skipped.
    bool announce(const QString& reported);
    // Raises (or queues) an entry that passed the tests before the content test, which comes last.
    void report(const QString& reported, const plat::FindData& entry, const QByteArray& folderBytes,
                const char* rawName);
    // The entry tests before the content test, in their order: attributes, size, dates, exclusions.
    bool passesBeforeContent(const QString& folder, const plat::FindData& entry);
    bool attributesPass(quint32 attr) const;
    bool datesPass(const plat::FindData& entry) const;
    bool excluded(const QString& folder, const QString& name);
    bool stopped() const;
    bool halted() const;    // stopped, or the folder being walked was skipped by the delivering side

    const SearchSnapshot& m_snap;
    Events m_events;
    bool m_anyDates = false;
    SearchPipeline* m_pipeline = nullptr;        // while a content search runs on two threads
    int m_depth = 0;                             // of the folder being walked below its start folder
    std::vector<quint64> m_openFolders;          // pipeline serials of the folders being walked
    std::vector<Identity> m_ancestors;      // folders being walked, against bind-mount cycles
    QString m_upperFolderOf;                // cache for the exclusion test
    QString m_upperFolder;
};

// "/x/y/" -> "/x/y"; the root keeps its separator.
QString eventFolder(const QString& folderWithSep);

} // namespace search
