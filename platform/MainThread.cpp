#include "platform/MainThread.h"

#include <deque>
#include <mutex>
#include <thread>

namespace {

struct State {
    std::mutex mutex;
    bool marked = false;
    std::thread::id main;
    MainThread::Poster poster;
    std::deque<MainThread::Task> queue;
};

State& Shared() {
    static State state;
    return state;
}

} // namespace

void MainThread::Mark() {
    State& s = Shared();
    std::lock_guard lock(s.mutex);
    s.main = std::this_thread::get_id();
    s.marked = true;
}

bool MainThread::IsCurrent() {
    State& s = Shared();
    std::lock_guard lock(s.mutex);
    return s.marked && s.main == std::this_thread::get_id();
}

void MainThread::Post(Task task) {
    State& s = Shared();
    std::unique_lock lock(s.mutex);
    if (s.poster) {
        // The poster may take its own locks; it is called outside ours.
        Poster poster = s.poster;
        lock.unlock();
        poster(std::move(task));
        return;
    }
    s.queue.push_back(std::move(task));
}

void MainThread::SetPoster(Poster poster) {
    State& s = Shared();
    std::lock_guard lock(s.mutex);
    s.poster = std::move(poster);
}

std::size_t MainThread::RunPending() {
    State& s = Shared();
    std::deque<Task> tasks;
    {
        std::lock_guard lock(s.mutex);
        tasks.swap(s.queue);
    }
    for (Task& task : tasks)
        task();
    return tasks.size();
}
