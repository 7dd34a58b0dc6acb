#include "physics/px/PxDefaultCpuDispatcher.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace physx {

namespace {

class WorkerDispatcher : public PxDefaultCpuDispatcher {
  public:
    explicit WorkerDispatcher(PxU32 numThreads) : requested(numThreads) {
        if (numThreads > 0)
            worker = std::thread([this] { run(); });
    }

    PxU32 getWorkerCount() const override { return requested; }

    void submitTask(std::function<void()> task) override {
        if (!worker.joinable()) {
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
        if (worker.joinable()) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                stopping = true;
            }
            wake.notify_one();
            worker.join();
        }
        delete this;
    }

  private:
    void run() {
        // Takes the whole queue at once: the two vectors trade places and keep their capacity, so
        // submitting a task allocates nothing once both have held one.
        std::vector<std::function<void()>> batch;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return stopping || !queue.empty(); });
                if (queue.empty())
                    return;
                batch.swap(queue);
            }
            for (std::function<void()>& task : batch)
                task();
            batch.clear();
        }
    }

    PxU32 requested;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::function<void()>> queue;
    bool stopping = false;
    std::thread worker;
};

} // namespace

PxDefaultCpuDispatcher* PxDefaultCpuDispatcherCreate(PxU32 numThreads, PxU32*) {
    return new WorkerDispatcher(numThreads);
}

} // namespace physx
