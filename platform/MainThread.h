#pragma once
#include <cstddef>
#include <functional>

// The thread that owns the windows, and the road by which other threads hand it work (a
// documented singleton, like the other platform services). The window layer installs a poster
// that runs tasks from the event loop; without one, tasks wait in a queue that RunPending
// empties (headless tests drive it).
class MainThread {
public:
    using Task = std::function<void()>;
    using Poster = std::function<void(Task)>;

    // The calling thread becomes the main thread.
    static void Mark();
    // False on every thread until Mark was called.
    static bool IsCurrent();
    // Any thread: `task` runs later on the main thread.
    static void Post(Task task);
    // An empty poster returns to the queue.
    static void SetPoster(Poster poster);
    // Runs the queued tasks on the calling thread; how many ran.
    static std::size_t RunPending();
};
