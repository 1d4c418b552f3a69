#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace Tesmo::Benchmarks
{

// A thread that runs one job at a time for its owner and waits for the next, so that
// two contenders can take turns on threads of their own, each in the COM state it
// needs.
class WorkerThread
{
public:
    enum class Com
    {
        None,
        SingleThreadedApartment,
    };

    explicit WorkerThread(Com com);
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs job on the worker and returns when it is done; rethrows what it threw.
    void Run(const std::function<void()>& job);

private:
    void Loop(Com com);

    std::mutex mutex;
    std::condition_variable changed;
    const std::function<void()>* pending = nullptr;
    std::exception_ptr failure;
    bool stopping = false;
    std::thread thread;
};

} // namespace Tesmo::Benchmarks
