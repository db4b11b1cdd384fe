#pragma once
// Thread tests: a deadlock becomes an abort with a name instead of a test that never ends.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace plat::testwatch {

class Watchdog {
public:
    explicit Watchdog(const char* What) : what_(What), thread_([this] { Run(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> lock(m_);
        if (!cv_.wait_for(lock, std::chrono::seconds(20), [&] { return done_; })) {
            std::fprintf(stderr, "deadlock: %s\n", what_);
            std::abort();
        }
    }
    const char* what_;
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

} // namespace plat::testwatch
