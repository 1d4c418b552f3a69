#include "WorkerThread.h"

#include "hosting/ComApartment.h"

#include <objbase.h>

#include <optional>

namespace Tesmo::Benchmarks
{

WorkerThread::WorkerThread(Com com) : thread([this, com] { Loop(com); })
{
}

WorkerThread::~WorkerThread()
{
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

void WorkerThread::Run(const std::function<void()>& job)
{
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
    std::optional<PluginHost::ComApartment> apartment;
    if (com == Com::SingleThreadedApartment)
    {
        apartment.emplace(COINIT_APARTMENTTHREADED);
    }
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
}

} // namespace Tesmo::Benchmarks
