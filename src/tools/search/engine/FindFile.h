#pragma once
#include "platform/Errors.h"
#include "tools/search/engine/FindTypes.h"
#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

namespace search {

struct SearchSnapshot;
class TSearchThread;

// Raised by the property setters of TFindFile.
class EFindFileError : public EOrvoError {
public:
    using EOrvoError::EOrvoError;
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Non-visual search component: walks one or more start folders (optionally with their subfolders) and
// reports every entry that matches the mask and the criteria through OnFound. Runs inline in the caller's
// thread or in a TSearchThread whose events are handed to the caller's thread, the worker waiting until
// each handler has returned.
//
// Inline searches run inside Execute; a caller that dispatches messages from its handlers must not destroy
// the component before Execute has returned.
class TFindFile : public QObject {
    Q_OBJECT
public:
    using TFoundEvent = std::function<void(TFindFile* sender, const QString& folder, const TSearchRec& fileInfo)>;
    using TNewFolderEvent = std::function<void(TFindFile* sender, const QString& folder, bool& ignoreFolder)>;
    using TNotifyEvent = std::function<void(TFindFile* sender)>;

    explicit TFindFile(QObject* parent = nullptr);
    ~TFindFile() override;

    // --- Published properties ---
    QString Filename() const { return m_filename; }
    void setFilename(const QString& value);           // EFindFileError when it has a folder part
    QString Location() const { return m_location; }
    void setLocation(const QString& value);           // EFindFileError when it holds '*' or '?'
    QStringList IncludeFiles() const { return m_includeFiles; }
    void setIncludeFiles(const QStringList& value) { m_includeFiles = value; }
    QStringList ExcludeFiles() const { return m_excludeFiles; }
    void setExcludeFiles(const QStringList& value) { m_excludeFiles = value; }
    bool Subfolders() const { return m_subfolders; }
    void setSubfolders(bool value) { m_subfolders = value; }
    TFileAttributes Attributes() const { return m_attributes; }
    void setAttributes(TFileAttributes value) { m_attributes = value; }
    bool ExactAttribute() const { return m_exactAttribute; }
    void setExactAttribute(bool value) { m_exactAttribute = value; }
    TDateTime ModifiedBefore() const { return m_modifiedBefore; }
    void setModifiedBefore(TDateTime value) { m_modifiedBefore = value; }
    TDateTime ModifiedAfter() const { return m_modifiedAfter; }
    void setModifiedAfter(TDateTime value) { m_modifiedAfter = value; }
    TDateTime CreatedBefore() const { return m_createdBefore; }
    void setCreatedBefore(TDateTime value) { m_createdBefore = value; }
    TDateTime CreatedAfter() const { return m_createdAfter; }
    void setCreatedAfter(TDateTime value) { m_createdAfter = value; }
    TDateTime AccessedBefore() const { return m_accessedBefore; }
    void setAccessedBefore(TDateTime value) { m_accessedBefore = value; }
    TDateTime AccessedAfter() const { return m_accessedAfter; }
    void setAccessedAfter(TDateTime value) { m_accessedAfter = value; }
    qint64 SizeMin() const { return m_sizeMin; }       // bytes, 0 = no bound
    void setSizeMin(qint64 value) { m_sizeMin = value; }
    qint64 SizeMax() const { return m_sizeMax; }
    void setSizeMax(qint64 value) { m_sizeMax = value; }
    QString Containing() const { return m_containing; }   // searched as its UTF-8 bytes
    void setContaining(const QString& value) { m_containing = value; }
    bool IgnoreCase() const { return m_ignoreCase; }
    void setIgnoreCase(bool value) { m_ignoreCase = value; }
    bool Threaded() const { return m_threaded; }
    void setThreaded(bool value) { m_threaded = value; }
    TThreadPriority ThreadPriority() const { return m_threadPriority; }
    void setThreadPriority(TThreadPriority value);    // also applies to a running worker

    TFoundEvent OnFound;
    TNewFolderEvent OnNewFolder;
    TNotifyEvent OnComplete;

    // --- Run-time state ---
    bool Busy() const { return m_busy; }
    bool Aborted() const { return m_aborted.load(); }

    // Starts a search with the current properties; nothing happens while Busy. Inline mode returns after
    // OnComplete has run, threaded mode at once.
    void Execute();
    // Stops the search. With a worker, keeps the caller's event loop running until OnComplete has been
    // delivered (unless called from inside one of the component's own events).
    void Abort();

    // The targets Execute builds from Location and Filename (full folder path + mask), or IncludeFiles.
    QStringList TargetList() const;

Q_SIGNALS:
    void searchEnded();   // after OnComplete of a threaded search; Abort waits for it

protected:
    virtual void DoFound(const QString& folder, const TSearchRec& fileInfo);
    virtual bool DoNewFolder(const QString& folder);   // true: search the folder
    virtual void DoComplete();
    virtual void StartSearchThread();
    virtual void SearchInCurrentThread();

private:
    friend class TSearchThread;
    void threadEnded(TSearchThread* thread);
    bool stopRequested() const;

    QString m_filename = QStringLiteral("*.*");
    QString m_location;
    QStringList m_includeFiles;
    QStringList m_excludeFiles;
    bool m_subfolders = true;
    TFileAttributes m_attributes{ffArchive, ffReadonly, ffHidden, ffSystem};
    bool m_exactAttribute = false;
    TDateTime m_modifiedBefore = 0, m_modifiedAfter = 0;
    TDateTime m_createdBefore = 0, m_createdAfter = 0;
    TDateTime m_accessedBefore = 0, m_accessedAfter = 0;
    qint64 m_sizeMin = 0, m_sizeMax = 0;
    QString m_containing;
    bool m_ignoreCase = true;
    bool m_threaded = false;
    TThreadPriority m_threadPriority = tpNormal;

    bool m_busy = false;
    std::atomic<bool> m_aborted{false};
    bool m_destroying = false;
    int m_delivering = 0;               // depth of event handlers running on the caller's thread
    std::shared_ptr<const SearchSnapshot> m_snapshot;
    TSearchThread* m_thread = nullptr;
};

} // namespace search
