#pragma once

#include <juce_core/juce_core.h>

#include <future>
#include <thread>

namespace brevalon::test
{

// Holds a lock on another thread from construction until release() (or destruction), so a
// test can check that some operation does, or does not, wait for it.
class LockHolder
{
public:
    explicit LockHolder (const juce::CriticalSection& lock)
        : thread (
              [this, &lock]
              {
                  const juce::ScopedLock held (lock);
                  locked.set_value();
                  released.get_future().wait();
              })
    {
        locked.get_future().wait();
    }

    ~LockHolder() { release(); }

    void release()
    {
        if (! thread.joinable())
            return;
        released.set_value();
        thread.join();
    }

private:
    std::promise<void> locked, released;
    std::thread thread;
};

} // namespace brevalon::test
