// Reads a book off the window's thread, so that a slow or hung file system
// never stops the window painting or its animations: the work runs in a
// worker, and what it hands back runs on the window's thread. A new start
// cancels the read under way, also one whose result waits to be applied; a
// read that takes longer than a second shows its progress through showProgress.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "text/BookReader.h"

namespace corvane {

class BookLoad : public QObject
{
public:
    // Runs in the worker with the progress to hand to the reader; returns
    // what is to run on the window's thread with the result.
    using Work = std::function<std::function<void()>(const ReadProgress &)>;

    // mustWait tells when a result may not run yet (a page is being written
    // and lets events run): the result waits, and is still cancelled by a
    // newer start, so an older book can never land over a newer choice.
    explicit BookLoad(std::function<void(const QString &)> showProgress,
                      std::function<bool()> mustWait = {}, QObject *parent = nullptr);
    ~BookLoad() override;

    void start(Work work);
    // The read under way is dropped: its result never runs.
    void cancel();
    bool reading() const { return m_current != nullptr; }

private:
    struct Shared;
    void finished(const std::shared_ptr<Shared> &shared, const std::function<void()> &result);
    void tick();

    std::function<void(const QString &)> m_showProgress;
    std::function<bool()> m_mustWait;
    std::shared_ptr<Shared> m_current;
    QTimer m_progress;
};

} // namespace corvane
