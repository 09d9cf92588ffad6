#include "tools/hexview/engine/HexSource.h"
#include "platform/PrivateDir.h"
#include "platform/posix/EntryOps.h"
#include "platform/posix/FileIO.h"
#include "tools/hexview/engine/HexErrors.h"
#include <QDeadlineTimer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>

namespace hexview {

namespace posix = plat::posix;

namespace {
constexpr qint64 kEnd = std::numeric_limits<qint64>::max();
}

const QString HexSource::kNoUndo = QStringLiteral("No Undo");
const QString HexSource::kByteChanged = QStringLiteral("Byte changed");
const QString HexSource::kBytesRemoved = QStringLiteral("Byte(s) removed");
const QString HexSource::kInsertBuffer = QStringLiteral("Insert buffer");

HexSource::HexSource(bool editable)
{
    m_markers.fill(-1);
    if (!editable)
        return;
    // Named by the millisecond tick; a name that exists (or a link put there) is skipped, never reused.
    quint32 tick = quint32(QDeadlineTimer::current().deadline());
    const QString dir = plat::privateDir();
    for (int attempt = 0; !dir.isEmpty() && attempt < 1000; ++attempt, ++tick) {
        const QString name = QStringLiteral("%1.MPHT").arg(tick, 8, 16, QLatin1Char('0')).toUpper();
        const int fd = plat::openPrivateFile(name, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
            m_work.reset(fd);
            m_workPath = dir + name;
            break;
        }
        if (errno != EEXIST)
            break;
    }
}

HexSource::~HexSource()
{
    if (m_work.valid()) {
        m_work.reset();
        posix::removeFile(m_workPath);
    }
}

bool HexSource::loadFromFile(const QString& path)
{
    qint64 size = 0;
    posix::Fd fd = posix::openRegularFile(path, &size);
    if (!fd.valid())
        return false;
    m_file = std::move(fd);
    m_fileName = path;
    m_sourceWritable = posix::mayWrite(path);
    m_addedEnd = 0;
    m_pieces.clear();
    if (size > 0)
        m_pieces.push_back({Origin::File, 0, size});
    rebuildStarts();
    m_cacheStart = -1;
    m_changes.clear();
    m_undo.clear();
    return true;
}

int HexSource::byteAt(qint64 pos)
{
    if (pos < 0 || pos >= m_size)
        return -1;
    if (m_cacheStart < 0 || pos < m_cacheStart || pos >= m_cacheStart + qint64(m_cache.size()))
        fillCache(pos);
    return m_cache[std::size_t(pos - m_cacheStart)];
}

void HexSource::fillCache(qint64 pos)
{
    m_cacheStart = pos - pos % kCacheSize;
    const qint64 length = std::min(kCacheSize, m_size - m_cacheStart);
    m_cache.assign(std::size_t(length), qint16(-1));
    QByteArray buffer;
    qint64 done = 0;
    for (std::size_t i = pieceIndexOf(m_cacheStart); i < m_pieces.size() && done < length; ++i) {
        const Piece& p = m_pieces[i];
        const qint64 skip = m_cacheStart + done - m_starts[i];
        const qint64 want = std::min(p.length - skip, length - done);
        buffer.resize(want);
        const qint64 got = std::max<qint64>(0, readOrigin(p.origin, p.start + skip, buffer.data(), want));
        for (qint64 k = 0; k < got; ++k)
            m_cache[std::size_t(done + k)] = qint16(quint8(buffer[k]));
        done += want;
    }
}

qint64 HexSource::readOrigin(Origin origin, qint64 at, char* out, qint64 count)
{
    const int fd = origin == Origin::File ? m_file.get() : m_work.get();
    if (fd < 0 || posix::seekFile(fd, at, SEEK_SET) < 0)
        return -1;
    return posix::readFull(fd, out, count);
}

std::size_t HexSource::pieceIndexOf(qint64 pos) const
{
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), pos);
    return it == m_starts.begin() ? 0 : std::size_t(it - m_starts.begin() - 1);
}

void HexSource::rebuildStarts()
{
    m_starts.resize(m_pieces.size());
    qint64 at = 0;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        m_starts[i] = at;
        at += m_pieces[i].length;
    }
    m_size = at;
}

std::size_t HexSource::splitAt(qint64 pos)
{
    if (pos >= m_size)
        return m_pieces.size();
    const std::size_t i = pieceIndexOf(pos);
    if (m_starts[i] == pos)
        return i;
    const qint64 head = pos - m_starts[i];
    Piece tail = m_pieces[i];
    tail.start += head;
    tail.length -= head;
    m_pieces[i].length = head;
    m_pieces.insert(m_pieces.begin() + std::ptrdiff_t(i) + 1, tail);
    m_starts.insert(m_starts.begin() + std::ptrdiff_t(i) + 1, pos);
    return i + 1;
}

std::vector<HexSource::Piece> HexSource::replaceRange(qint64 pos, qint64 length, const std::vector<Piece>& with)
{
    const std::size_t first = splitAt(pos);
    const std::size_t last = splitAt(pos + length);
    std::vector<Piece> old(m_pieces.begin() + std::ptrdiff_t(first), m_pieces.begin() + std::ptrdiff_t(last));
    m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(first), m_pieces.begin() + std::ptrdiff_t(last));
    m_pieces.insert(m_pieces.begin() + std::ptrdiff_t(first), with.begin(), with.end());
    mergeAround(first, first + with.size());
    rebuildStarts();
    m_cacheStart = -1;
    return old;
}

// Joins neighbours that continue each other in the same origin, from piece first - 1 to piece last.
void HexSource::mergeAround(std::size_t first, std::size_t last)
{
    std::size_t i = first > 0 ? first - 1 : 0;
    last = std::min(last, m_pieces.size() - (m_pieces.empty() ? 0 : 1));
    while (i < last && i + 1 < m_pieces.size()) {
        Piece& a = m_pieces[i];
        const Piece& b = m_pieces[i + 1];
        if (a.origin == b.origin && a.start + a.length == b.start) {
            a.length += b.length;
            m_pieces.erase(m_pieces.begin() + std::ptrdiff_t(i) + 1);
            --last;
        } else {
            ++i;
        }
    }
}

HexSource::Piece HexSource::appendAdded(const QByteArray& bytes)
{
    if (!m_work.valid())
        throw EHexEditorError(QStringLiteral("The working file could not be created in %1").arg(plat::privateDir()));
    int err = posix::seekFile(m_work.get(), m_addedEnd, SEEK_SET) < 0 ? errno : 0;
    if (!err)
        err = posix::writeAll(m_work.get(), bytes);
    if (err)
        throw EHexEditorError(QStringLiteral("%1: %2").arg(m_workPath, posix::errnoText(err)));
    const Piece p{Origin::Added, m_addedEnd, bytes.size()};
    m_addedEnd += bytes.size();
    return p;
}

void HexSource::pushUndo(UndoRecord record)
{
    m_undo.push_back(std::move(record));
    while (m_undo.size() > std::size_t(kMaxUndo))
        m_undo.pop_front();
}

bool HexSource::overwrite(qint64 pos, quint8 value)
{
    if (pos < 0 || pos >= m_size || byteAt(pos) == value)
        return false;
    const Piece added = appendAdded(QByteArray(1, char(value)));
    ByteRanges was = m_changes.tailFrom(pos);
    was.truncateFrom(pos + 1);
    UndoRecord r{kByteChanged, pos, 1, {}, pos + 1, was};
    r.oldPieces = replaceRange(pos, 1, {added});
    pushUndo(std::move(r));
    m_changes.add(pos);
    return true;
}

bool HexSource::remove(qint64 pos, qint64 count)
{
    if (pos < 0 || pos >= m_size || count <= 0)
        return false;
    count = std::min(count, m_size - pos);
    UndoRecord r{kBytesRemoved, pos, 0, {}, kEnd, m_changes.tailFrom(pos)};
    r.oldPieces = replaceRange(pos, count, {});
    pushUndo(std::move(r));
    m_changes.truncateFrom(pos);
    return true;
}

bool HexSource::insert(qint64 pos, const QByteArray& bytes)
{
    if (pos < 0 || pos > m_size || bytes.isEmpty())
        return false;
    const Piece added = appendAdded(bytes);
    UndoRecord r{kInsertBuffer, pos, bytes.size(), {}, kEnd, m_changes.tailFrom(pos)};
    r.oldPieces = replaceRange(pos, 0, {added});
    pushUndo(std::move(r));
    m_changes.truncateFrom(pos);
    m_changes.add(pos, pos + bytes.size());
    return true;
}

QString HexSource::undoDescription() const
{
    return m_undo.empty() ? kNoUndo : m_undo.back().description;
}

bool HexSource::undo()
{
    if (m_undo.empty())
        return false;
    UndoRecord r = std::move(m_undo.back());
    m_undo.pop_back();
    replaceRange(r.pos, r.newLength, r.oldPieces);
    m_changes.remove(r.pos, r.marksEnd);
    m_changes.addAll(r.oldMarks);
    return true;
}

qint64 HexSource::marker(int index) const
{
    if (index < 0 || index >= kMarkerCount)
        throw EHexEditorError(QStringLiteral("SetMarker : Invalid marker index"));
    return m_markers[std::size_t(index)];
}

void HexSource::setMarker(int index, qint64 row)
{
    if (index < 0 || index >= kMarkerCount)
        throw EHexEditorError(QStringLiteral("SetMarker : Invalid marker index"));
    m_markers[std::size_t(index)] = row < 0 ? -1 : row;
}

int HexSource::markerOnRow(qint64 row) const
{
    for (int i = 0; i < kMarkerCount; ++i)
        if (m_markers[std::size_t(i)] == row)
            return i;
    return -1;
}

} // namespace hexview
