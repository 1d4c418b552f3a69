#include "WorkerThread.h"

#include <objbase.h>

namespace Tesmo::PluginHost
{

WorkerThread::WorkerThread(Com com)
{
    if (com != Com::CallersThread)
    {
        thread = std::thread([this, com] { Loop(com); });
    }
}

WorkerThread::~WorkerThread()
{
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    if (thread.joinable())
    {
        thread.join();
    }
}

void WorkerThread::Run(const std::function<void()>& job)
{
    if (!thread.joinable())
    {
        job();
        return;
    }
    std::unique_lock lock(mutex);
    pending = &job;
    failure = nullptr;
    changed.notify_all();
    changed.wait(lock, [this] { return pending == nullptr; });
    if (failure)
    {
        std::rethrow_exception(failure);
    }
}

void WorkerThread::Loop(Com com)
{
    const bool joined = com == Com::SingleThreadedApartment && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    std::unique_lock lock(mutex);
    while (true)
    {
        changed.wait(lock, [this] { return stopping || pending != nullptr; });
        if (pending == nullptr)
        {
            break;
        }
        try
        {
            (*pending)();
        }
        catch (...)
        {
            failure = std::current_exception();
        }
        pending = nullptr;
        changed.notify_all();
    }
    lock.unlock();
    if (joined)
    {
        CoUninitialize();
    }
}

} // namespace Tesmo::PluginHost
