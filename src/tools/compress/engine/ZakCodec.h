#pragma once
// The ".zak" codec: the `TZnZip` component and its worker thread `TZipThread`.
#include "tools/compress/engine/ZErrors.h"
#include <QObject>
#include <QPointer>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

class TZnZip;

enum TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

// The zlib level of each compression level: 0, 1, the zlib default (-1), 9.
int zlibLevel(TZCompressionLevel level);

// Whether two paths name the same file (same device and inode, links followed); a missing path never does.
bool zakSameFile(const QString& a, const QString& b);

// One compression or decompression job. Works on its own copy of the names and the level, writes the output
// to a temporary file beside the destination and renames it over the destination only on success.
class TZipThread : public QThread {
    Q_OBJECT
public:
    enum Direction { Compress, Decompress };

    // Without `events` the job raises no OnBegin / OnProcess (nobody listens) and works in larger steps.
    TZipThread(TZnZip* owner, Direction direction, const QString& source, const QString& dest, int zlevel,
               bool events = true);

protected:
    void run() override;

private:
    static constexpr qint64 kQuietStep = 1024 * 1024;
    qint64 step() const;
    bool compress();
    bool decompress();
    friend class TZnZip;
    void post(std::function<void()> call);
    void acknowledge(quint64 serial);
    void acknowledgeAll();
    void raiseBegin(qint64 nMax);
    void raiseProcess(qint64 nHasDone);

    TZnZip* const m_owner;
    const Direction m_direction;
    const QString m_source;
    const QString m_dest;
    const int m_zlevel;
    const bool m_events;
    bool m_success = false;
    qint64 m_remaining = 0;
    qint64 m_done = 0;
    float m_rate = 0;
    QSemaphore m_handled{1};            // free when the last event has been handled
    std::atomic<quint64> m_posted{0};   // events posted so far
    quint64 m_acknowledged = 0;         // events handled so far (owner's thread)
};

// Compresses one file into a ".zak" file (one zlib stream) and back, in a worker thread. Events run in order
// on the thread that owns the component; the worker waits for each to be handled before it raises the next.
class TZnZip : public QObject {
    Q_OBJECT
public:
    using TOnBegin = std::function<void(TZnZip* sender, qint64 nMax)>;
    using TOnProcess = std::function<void(TZnZip* sender, qint64 nHasDone)>;
    using TOnEnd = std::function<void(TZnZip* sender, bool nNormal, float nZipRate)>;

    explicit TZnZip(QObject* parent = nullptr);
    ~TZnZip() override;

    QString SourceFile() const { return m_sourceFile; }
    void setSourceFile(const QString& v) { m_sourceFile = v; }
    QString DestFile() const { return m_destFile; }
    void setDestFile(const QString& v) { m_destFile = v; }
    bool Busy() const { return m_busy; }
    TZCompressionLevel ZipLevel() const { return m_zipLevel; }
    void setZipLevel(TZCompressionLevel v) { m_zipLevel = v; }
    // Why the last job failed; empty after a success or a stop.
    QString LastError() const { return m_lastError; }

    // OnBegin and OnProcess are raised for a job only when one of them is set when the job starts.
    TOnBegin OnBegin;       // total number of bytes the job will write
    TOnProcess OnProcess;   // bytes done so far, once per 61440-byte step
    TOnEnd OnEnd;           // nNormal false on failure or stop; nZipRate: rate in percent after a compression

    // Start a job and return at once. Nothing happens (false) while a job runs or when SourceFile is not an
    // existing file. A destination that is the source itself is refused with EZCompressionError or
    // EZDecompressionError.
    bool Compress();
    bool Decompress();
    // Ends a running job: the worker stops after the current step, OnEnd(false, 0) runs before this returns
    // (also when called from inside OnBegin or OnProcess).
    void Stop();
    // Waits until the running job has ended, serving its events meanwhile.
    void WaitFor();

private:
    friend class TZipThread;
    bool start(TZipThread::Direction direction);
    void waitServing(QPointer<TZipThread> t);
    void jobBegin(qint64 nMax);
    void jobProcess(qint64 nHasDone);
    void jobEnd(TZipThread* worker, bool normal, float rate, const QString& error);

    QString m_sourceFile;
    QString m_destFile;
    TZCompressionLevel m_zipLevel = zcDefault;
    bool m_busy = false;
    bool m_destroying = false;
    int m_inEvent = 0;                       // OnBegin / OnProcess handlers running
    QString m_lastError;
    TZipThread* m_worker = nullptr;          // the running job
    QPointer<TZipThread> m_lastThread;       // the newest worker, until it has finished
};
