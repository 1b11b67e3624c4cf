#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

// Fails the whole test run at once when a step does not end in time: a step that can block for ever when it goes
// wrong (opening a named pipe nobody writes to) must fail the suite, not hang it.
class Deadline
{
public:
    Deadline(int seconds, const char* what)
        : m_thread([this, seconds, what] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_over; })) {
                  std::fprintf(stderr, "FAIL!  : %s did not end within %d seconds\n", what, seconds);
                  std::fflush(stderr);
                  std::_Exit(1);
              }
          })
    {
    }
    ~Deadline()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_over = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_over = false;
    std::thread m_thread; // last: starts once the rest is made
};
