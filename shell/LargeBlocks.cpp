#include "shell/LargeBlocks.h"

#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

void* allocateFresh(size_t bytes) {
    const size_t rounded = (bytes + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes;
    if (rounded == 0 || rounded < bytes) {
        return nullptr;
    }
    void* block = std::aligned_alloc(kLargePageBytes, rounded);
    if (block != nullptr) {
        // Only advice: where large pages are off or used up, the block is mapped page by page as before.
        madvise(block, rounded, MADV_HUGEPAGE);
    }
    return block;
}

// One block of one large page is kept ready, its memory already mapped, by a thread of its own: the first
// touch of fresh memory makes the system clear it, 2 MiB at a time, and an import that fills its event list
// chunk after chunk spent a tenth of the program's thread waiting for that. No caller waits for a spare: one
// that finds none (the first time, or while it is being made) allocates as before.
struct Spare {
    std::mutex mutex;
    std::condition_variable wanted;
    void* ready = nullptr;  // reachable from here for the process's life, as its memory is
    bool asked = false;
    Spare* inherited = nullptr;  // a forked child's copy of its parent's, kept reachable
};
std::atomic<Spare*> g_spare{nullptr};
std::atomic<pid_t> g_process{0};  // the process whose thread fills g_spare

void prepareSpares(Spare* shared) {
    pthread_setname_np(pthread_self(), "block-faulter");  // as profilers and debuggers show it
    std::unique_lock<std::mutex> lock(shared->mutex);
    while (true) {
        shared->wanted.wait(lock, [&] { return shared->asked && shared->ready == nullptr; });
        shared->asked = false;
        lock.unlock();
        auto* block = static_cast<volatile char*>(allocateFresh(kLargePageBytes));
        if (block != nullptr) {
            for (size_t at = 0; at < kLargePageBytes; at += 4096) {
                block[at] = 0;
            }
        }
        lock.lock();
        shared->ready = const_cast<char*>(block);
    }
}

// Null while another thread sets the spare up. A forked child gets a set of its own: its copy of the
// parent's lock and condition may be held by threads that are not there. Its copy of the parent's spare
// block is its own to use.
Spare* spareOfThisProcess() {
    const pid_t self = ::getpid();
    pid_t seen = g_process.load();
    if (seen == self) {
        return g_spare.load();
    }
    if (!g_process.compare_exchange_strong(seen, self)) {
        return nullptr;
    }
    auto* fresh = new Spare();  // never destroyed: its thread waits on it until the process ends
    fresh->inherited = g_spare.load();
    if (fresh->inherited != nullptr) {
        fresh->ready = fresh->inherited->ready;
    }
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    std::thread(prepareSpares, fresh).detach();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    g_spare.store(fresh);
    return fresh;
}

}  // namespace

void* allocateLargeBlock(size_t bytes) {
    Spare* shared = bytes == kLargePageBytes ? spareOfThisProcess() : nullptr;
    if (shared != nullptr) {
        void* block = nullptr;
        {
            std::lock_guard<std::mutex> lock(shared->mutex);
            block = shared->ready;
            shared->ready = nullptr;
            shared->asked = true;
        }
        shared->wanted.notify_one();
        if (block != nullptr) {
            return block;
        }
    }
    return allocateFresh(bytes);
}

void freeLargeBlock(void* block) {
    std::free(block);
}
