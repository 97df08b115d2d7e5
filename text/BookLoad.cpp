#include "text/BookLoad.h"

#include <QElapsedTimer>

#include <atomic>
#include <mutex>
#include <thread>

namespace corvane {

namespace {
constexpr int kProgressTickMs = 250;
constexpr qint64 kQuietMs = 1000; // a read this short shows no progress
constexpr int kWaitRetryMs = 50;  // a waiting result looks again this often
} // namespace

struct BookLoad::Shared
{
    std::mutex lock;
    BookLoad *owner; // cleared when the owner goes; guarded by lock
    std::atomic<bool> cancelled{false};
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> size{0};
    QElapsedTimer since;
};

BookLoad::BookLoad(std::function<void(const QString &)> showProgress,
                   std::function<bool()> mustWait, QObject *parent)
    : QObject(parent)
    , m_showProgress(std::move(showProgress))
    , m_mustWait(std::move(mustWait))
{
    m_progress.setInterval(kProgressTickMs);
    connect(&m_progress, &QTimer::timeout, this, [this] { tick(); });
}

BookLoad::~BookLoad()
{
    cancel();
}

void BookLoad::start(Work work)
{
    cancel();
    auto shared = std::make_shared<Shared>();
    shared->owner = this;
    shared->since.start();
    m_current = shared;
    m_progress.start();
    // Detached: a read hung on a dead mount cannot be joined, and must not
    // hold the window or its close up. It holds only the shared state.
    std::thread([shared, work = std::move(work)] {
        const ReadProgress progress = [shared](std::size_t done, std::size_t size) {
            shared->done = done;
            shared->size = size;
            return !shared->cancelled.load();
        };
        std::function<void()> result = work(progress);
        const std::lock_guard<std::mutex> guard(shared->lock);
        if (shared->owner && !shared->cancelled)
            QMetaObject::invokeMethod(
                    shared->owner,
                    [owner = shared->owner, shared, result = std::move(result)] {
                        owner->finished(shared, result);
                    },
                    Qt::QueuedConnection);
    }).detach();
}

void BookLoad::cancel()
{
    if (!m_current)
        return;
    {
        const std::lock_guard<std::mutex> guard(m_current->lock);
        m_current->cancelled = true;
        m_current->owner = nullptr;
    }
    m_current.reset();
    m_progress.stop();
}

void BookLoad::finished(const std::shared_ptr<Shared> &shared, const std::function<void()> &result)
{
    if (shared != m_current)
        return;
    if (m_mustWait && m_mustWait()) {
        // Still the current load while it waits: a newer start or a cancel drops it.
        QTimer::singleShot(kWaitRetryMs, this,
                           [this, shared, result] { finished(shared, result); });
        return;
    }
    m_current.reset();
    m_progress.stop();
    result();
}

void BookLoad::tick()
{
    if (!m_current || m_current->since.elapsed() < kQuietMs)
        return;
    const std::size_t done = m_current->done, size = m_current->size;
    m_showProgress(size > 0 ? QStringLiteral("Reading %1 %")
                                      .arg(std::min<std::size_t>(100, done * 100 / size))
                            : QStringLiteral("Reading %1 KiB").arg(done / 1024));
}

} // namespace corvane
