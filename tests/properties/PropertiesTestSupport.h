#pragma once
// Helpers of the properties tests: a file's stamps to the nanosecond, time zones, and a script that
// answers the modal windows a command shows.
#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QFile>
#include <QString>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace proptest {

// The three times, the identity and the contents of an entry.
struct Stamps {
    timespec access{}, write{}, birth{};
    bool hasBirth = false;
    quint64 ino = 0;
    QByteArray contents;

    static Stamps of(const QString& path)
    {
        Stamps s;
        struct statx sx {};
        EXPECT_EQ(::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx), 0)
            << path.toStdString();
        s.access = {sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec};
        s.write = {sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec};
        s.hasBirth = sx.stx_mask & STATX_BTIME;
        if (s.hasBirth)
            s.birth = {sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec};
        s.ino = sx.stx_ino;
        // Read without touching the access time (O_NOATIME: the tests own their files).
        if (S_ISREG(sx.stx_mode)) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOATIME | O_CLOEXEC);
            EXPECT_GE(fd, 0) << path.toStdString();
            char buf[4096];
            for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;)
                s.contents.append(buf, n);
            if (fd >= 0)
                ::close(fd);
        }
        return s;
    }
};

inline bool same(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Sets access and modification times to the nanosecond.
inline void setStamps(const QString& path, timespec access, timespec write)
{
    const timespec t[2] = {access, write};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), t, 0), 0) << path.toStdString();
}

// Odd stamps that no two-second grid or whole second holds.
inline const timespec kOddAccess{1600000001, 123456789};
inline const timespec kOddWrite{1500000003, 987654321};

// UTC seconds of a local wall-clock time in the current zone.
inline qint64 localSeconds(int y, int mo, int d, int h, int mi, int s)
{
    struct tm tm {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return qint64(mktime(&tm));
}

// Switches the process's time zone for its lifetime; checks that the zone is known (tzdata).
class Zone {
public:
    explicit Zone(const char* tz, long januaryOffsetSeconds) : m_saved(qgetenv("TZ"))
    {
        setenv("TZ", tz, 1);
        tzset();
        const time_t jan = 1704067200;   // 2024-01-01 00:00 UTC
        struct tm tm {};
        localtime_r(&jan, &tm);
        EXPECT_EQ(tm.tm_gmtoff, januaryOffsetSeconds) << "time zone " << tz << " is not installed";
    }
    ~Zone()
    {
        setenv("TZ", m_saved.constData(), 1);
        tzset();
    }
    Zone(const Zone&) = delete;
    Zone& operator=(const Zone&) = delete;
private:
    QByteArray m_saved;
};

// Answers the modal windows of type T in the order they show: each queued action gets the window and
// must close it (done/accept/reject or a click that does). Unused actions fail the test.
template <class T>
class ModalScript {
public:
    ModalScript()
    {
        m_poll.setInterval(0);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start();
    }
    ~ModalScript()
    {
        m_poll.stop();
        EXPECT_TRUE(m_actions.empty()) << m_actions.size() << " modal window(s) expected but not shown";
    }
    ModalScript& then(std::function<void(T&)> action)
    {
        m_actions.push_back(std::move(action));
        return *this;
    }
    int shown() const { return m_shown; }

private:
    void poll()
    {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        ++m_shown;
        if (m_actions.empty()) {
            ADD_FAILURE() << "an unexpected modal window showed";
            w->reject();
            return;
        }
        const auto action = std::move(m_actions.front());
        m_actions.pop_front();
        action(*w);
        if (w->isVisible()) {
            ADD_FAILURE() << "the action left the window open";
            w->reject();
        }
    }

    QTimer m_poll;
    std::deque<std::function<void(T&)>> m_actions;
    int m_shown = 0;
};

} // namespace proptest
