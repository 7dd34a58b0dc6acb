#include "physics/px/PxDefaultCpuDispatcher.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace physx {

namespace {

class WorkerDispatcher : public PxDefaultCpuDispatcher {
  public:
    explicit WorkerDispatcher(PxU32 numThreads) {
        for (PxU32 i = 0; i < numThreads; ++i)
            workers.emplace_back([this] { run(); });
    }

    PxU32 getWorkerCount() const override { return static_cast<PxU32>(workers.size()); }

    void submitTask(std::function<void()> task) override {
        if (workers.empty()) {
            task();
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            queue.push_back(std::move(task));
        }
        wake.notify_one();
    }

    void release() override {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_all();
        for (std::thread& worker : workers)
            worker.join();
        delete this;
    }

  private:
    void run() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return stopping || !queue.empty(); });
                if (queue.empty())
                    return;
                task = std::move(queue.front());
                queue.pop_front();
            }
            task();
        }
    }

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> queue;
    bool stopping = false;
    std::vector<std::thread> workers; // last: the threads start once everything above exists
};

} // namespace

PxDefaultCpuDispatcher* PxDefaultCpuDispatcherCreate(PxU32 numThreads, PxU32*) {
    return new WorkerDispatcher(numThreads);
}

} // namespace physx
