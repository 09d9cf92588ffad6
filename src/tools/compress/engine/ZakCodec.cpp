#include "tools/compress/engine/ZakCodec.h"
#include "platform/Pump.h"
#include "platform/posix/FileIO.h"
#include "platform/posix/FileId.h"
#include "tools/compress/engine/ZStreams.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

struct EventScope {
    explicit EventScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~EventScope() { --m_depth; }
    int& m_depth;
};

template <class E>
[[noreturn]] void fail(const QString& what, const QString& path, const QString& why = QString())
{
    throw E(what + path + (why.isEmpty() ? QString() : QStringLiteral("（") + why + QStringLiteral("）")));
}

// Up to n bytes of f; 0 at its end.
template <class E>
qint64 readSome(QFile& f, char* buf, qint64 n)
{
    const qint64 r = f.read(buf, n);
    if (r < 0)
        fail<E>(QStringLiteral("读取文件出错："), f.fileName(), f.errorString());
    return r;
}

// Opens f's file for reading. Only a regular file: the open does not wait on a FIFO put there since the
// window checked the name, and the type is checked on the descriptor.
template <class E>
void openSource(QFile& f)
{
    plat::posix::SysError error;
    plat::posix::Fd fd = plat::posix::openRegularFile(f.fileName(), nullptr, &error);
    if (!fd.valid() && error.code == EINVAL)
        fail<E>(QStringLiteral("源文件不是普通文件："), f.fileName());
    if (!fd.valid())
        fail<E>(QStringLiteral("不能打开文件："), f.fileName(), plat::posix::errnoText(error.code));
    if (!f.open(fd.get(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        fail<E>(QStringLiteral("不能打开文件："), f.fileName(), f.errorString());
    fd.release();
}

template <class E>
void openDest(QSaveFile& f, const QString& source)
{
    if (zakSameFile(source, f.fileName()))
        fail<E>(QStringLiteral("源文件和目标文件是同一个文件："), f.fileName());
    // The output replaces the destination by renaming: a device, pipe or folder there must not be replaced.
    if (const QFileInfo info(f.fileName()); info.exists() && !info.isFile())
        fail<E>(QStringLiteral("目标不是普通文件："), f.fileName());
    if (!f.open(QIODevice::WriteOnly))
        fail<E>(QStringLiteral("不能创建文件："), f.fileName(), f.errorString());
}

template <class E>
void commitDest(QSaveFile& f)
{
    if (!f.commit())
        fail<E>(QStringLiteral("写入文件出错："), f.fileName(), f.errorString());
}

} // namespace

int zlibLevel(TZCompressionLevel level)
{
    switch (level) {
    case zcNone: return 0;
    case zcFastest: return 1;
    case zcMax: return 9;
    case zcDefault: break;
    }
    return -1;
}

bool zakSameFile(const QString& a, const QString& b)
{
    return plat::posix::sameFile(a, b);
}

// --- TZipThread ---

TZipThread::TZipThread(TZnZip* owner, Direction direction, const QString& source, const QString& dest, int zlevel,
                       bool events)
    : m_owner(owner), m_direction(direction), m_source(source), m_dest(dest), m_zlevel(zlevel), m_events(events)
{
}

void TZipThread::run()
{
    QString error;
    bool ok = false;
    try {
        ok = m_direction == Compress ? compress() : decompress();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = QStringLiteral("未知错误");
    }
    if (isInterruptionRequested()) {
        ok = false;
        error.clear();
    }
    m_success = ok;
    const float rate = ok && m_direction == Compress ? m_rate : 0.0f;
    TZnZip* owner = m_owner;
    m_handled.acquire();    // the last progress event has been handled
    QMetaObject::invokeMethod(
        owner, [owner, self = this, ok, rate, error] { owner->jobEnd(self, ok, rate, error); },
        Qt::BlockingQueuedConnection);
}

// Events are handed over without waiting for them; the worker waits before the next one (and before OnEnd)
// until the previous one has been handled. The worker so stays at most one step ahead of its events, and the
// time the owner's thread takes to wake up overlaps the next step instead of adding to the job.
void TZipThread::post(std::function<void()> call)
{
    m_handled.acquire();
    const quint64 serial = ++m_posted;
    QMetaObject::invokeMethod(
        m_owner,
        [self = QPointer<TZipThread>(this), call = std::move(call), serial] {
            call();
            if (self)   // a wait inside the handler may have seen the worker end and go
                self->acknowledge(serial);
        },
        Qt::QueuedConnection);
}

// Runs on the owner's thread, once per event or earlier for every event posted so far (see acknowledgeAll).
void TZipThread::acknowledge(quint64 serial)
{
    while (m_acknowledged < serial) {
        ++m_acknowledged;
        m_handled.release();
    }
}

void TZipThread::acknowledgeAll()
{
    acknowledge(m_posted.load());
}

void TZipThread::raiseBegin(qint64 nMax)
{
    if (!m_events)
        return;
    TZnZip* owner = m_owner;
    post([owner, nMax] { owner->jobBegin(nMax); });
}

void TZipThread::raiseProcess(qint64 nHasDone)
{
    if (!m_events)
        return;
    TZnZip* owner = m_owner;
    post([owner, nHasDone] { owner->jobProcess(nHasDone); });
}

// One progress event per 61440-byte step; a job nobody listens to goes in larger steps.
qint64 TZipThread::step() const
{
    return m_events ? zak::kChunk : kQuietStep;
}

bool TZipThread::compress()
{
    using E = EZCompressionError;
    QFile src(m_source);
    openSource<E>(src);
    QSaveFile dst(m_dest);
    openDest<E>(dst, m_source);

    m_done = 0;
    m_remaining = src.size();
    std::unique_ptr<zak::ZWriter> z;
    const int threads = QThread::idealThreadCount();
    using Parallel = zak::ParallelCompressionStream;
    if (m_zlevel != 0 && threads > 1 && m_remaining > 2 * Parallel::kBlockSize)
        z = std::make_unique<Parallel>(dst, m_zlevel, threads, Parallel::blockSizeFor(m_remaining, threads));
    else
        z = std::make_unique<zak::CompressionStream>(dst, m_zlevel);
    raiseBegin(m_remaining);

    // Read to the end, not to the size: files such as those in /proc report 0 but have content.
    QByteArray buffer(step(), Qt::Uninitialized);
    char* const buf = buffer.data();
    while (!isInterruptionRequested()) {
        const qint64 n = readSome<E>(src, buf, buffer.size());
        if (n == 0)
            break;
        z->write(buf, n);
        m_done += n;
        raiseProcess(m_done);
    }
    if (isInterruptionRequested())
        return false;   // the temporary output goes with `dst`
    z->finish();
    // The rate of the finished file: header, data and check value against the bytes read.
    m_rate = z->bytesIn() > 0 ? float((1.0 - double(z->bytesOut()) / double(z->bytesIn())) * 100.0) : 0.0f;
    z.reset();
    commitDest<E>(dst);
    return true;
}

bool TZipThread::decompress()
{
    using E = EZDecompressionError;
    QFile src(m_source);
    openSource<E>(src);
    QSaveFile dst(m_dest);
    openDest<E>(dst, m_source);

    zak::DecompressionStream z(src);
    // The format stores no size: decode once to find the total, then again for the output.
    const qint64 total = z.countToEnd([this] { return isInterruptionRequested(); });
    if (total < 0)
        return false;
    z.reset();
    m_done = 0;
    m_remaining = total;
    raiseBegin(total);

    QByteArray buffer(step(), Qt::Uninitialized);
    char* const buf = buffer.data();
    while (!isInterruptionRequested() && m_remaining > 0) {
        const qint64 n = std::min<qint64>(m_remaining, buffer.size());
        if (z.read(buf, n) != n)
            fail<E>(QStringLiteral("压缩文件在解压缩时被改变："), m_source);
        if (const int e = zak::writeOut(dst, buf, n))
            fail<E>(QStringLiteral("写入文件出错："), m_dest, plat::posix::errnoText(e));
        m_done += n;
        raiseProcess(m_done);
        m_remaining -= n;
    }
    if (isInterruptionRequested())
        return false;
    char extra;
    if (!z.atEnd() && z.read(&extra, 1) != 0)
        fail<E>(QStringLiteral("压缩文件在解压缩时被改变："), m_source);
    commitDest<E>(dst);
    return true;
}

// --- TZnZip ---

TZnZip::TZnZip(QObject* parent) : QObject(parent)
{
}

TZnZip::~TZnZip()
{
    m_destroying = true;
    Stop();
    WaitFor();
}

bool TZnZip::Compress()
{
    return start(TZipThread::Compress);
}

bool TZnZip::Decompress()
{
    return start(TZipThread::Decompress);
}

bool TZnZip::start(TZipThread::Direction direction)
{
    if (m_worker || m_sourceFile.isEmpty() || !QFileInfo(m_sourceFile).isFile())
        return false;
    if (zakSameFile(m_sourceFile, m_destFile)) {
        const QString text = QStringLiteral("源文件和目标文件是同一个文件：") + m_destFile;
        if (direction == TZipThread::Compress)
            throw EZCompressionError(text);
        throw EZDecompressionError(text);
    }
    m_busy = true;
    m_lastError.clear();
    const bool events = OnBegin || OnProcess;
    auto* worker = new TZipThread(this, direction, m_sourceFile, m_destFile, zlibLevel(m_zipLevel), events);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    m_worker = worker;
    m_lastThread = worker;
    worker->start();
    return true;
}

void TZnZip::Stop()
{
    if (!m_busy || !m_worker)
        return;
    QPointer<TZipThread> worker = m_worker;
    worker->requestInterruption();
    waitServing(worker);
}

void TZnZip::WaitFor()
{
    waitServing(m_lastThread);
}

void TZnZip::waitServing(QPointer<TZipThread> t)
{
    // Inside an event handler the worker waits for that very handler: let it go on before waiting for it.
    if (t && m_inEvent > 0)
        t->acknowledgeAll();
    plat::waitPumping(t.data());
}

void TZnZip::jobBegin(qint64 nMax)
{
    if (m_destroying || !OnBegin)
        return;
    const EventScope scope(m_inEvent);
    try {
        OnBegin(this, nMax);
    } catch (const std::exception& e) {
        qWarning("TZnZip OnBegin: %s", e.what());
    }
}

void TZnZip::jobProcess(qint64 nHasDone)
{
    if (m_destroying || !OnProcess)
        return;
    const EventScope scope(m_inEvent);
    try {
        OnProcess(this, nHasDone);
    } catch (const std::exception& e) {
        qWarning("TZnZip OnProcess: %s", e.what());
    }
}

void TZnZip::jobEnd(TZipThread* worker, bool normal, float rate, const QString& error)
{
    if (m_worker == worker) {
        m_worker = nullptr;
        m_busy = false;
    }
    m_lastError = error;
    if (m_destroying || !OnEnd)
        return;
    try {
        OnEnd(this, normal, normal ? rate : 0.0f);
    } catch (const std::exception& e) {
        qWarning("TZnZip OnEnd: %s", e.what());
    }
}
