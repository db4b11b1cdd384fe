#pragma once
// Threads, events and locks. The main thread is the one that started the program (the UI
// thread once the window layer runs); calls handed to it with Synchronize or Queue run when
// it calls CheckSynchronize, which the window layer does from its event loop after the wake-up
// hook told it there is work, and TThread::WaitFor does while the main thread waits.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "plat/Classes.h"  // TDuplicates
#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

constexpr std::uint32_t INFINITE = 0xFFFFFFFFu;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class EThread : public Exception { using Exception::Exception; };

// Manual or automatic reset. Freeing an event that threads wait on releases them with
// wrAbandoned.
class TEvent {
public:
    explicit TEvent(bool ManualReset = true, bool InitialState = false, const String& Name = String());
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;
    ~TEvent();

    void SetEvent();
    void ResetEvent();
    // Milliseconds; INFINITE waits for good. An automatic-reset event lets exactly one
    // waiter through per SetEvent and is reset by it.
    TWaitResult WaitFor(std::uint32_t Timeout = INFINITE);
    // Kept for documentation only: events are not shared across processes.
    const String& Name() const { return name_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    String name_;
};

// Manual reset, initially clear.
class TSimpleEvent : public TEvent {
public:
    TSimpleEvent() : TEvent(true, false) {}
};

// Re-entrant: the owning thread may enter again and leaves as often as it entered.
class TCriticalSection {
public:
    TCriticalSection();
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
    ~TCriticalSection();

    void Enter();
    void Leave();
    bool TryEnter();
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A list guarded by a lock: LockList gives the list until UnlockList.
template <class T>
class TThreadList {
public:
    std::vector<T>& LockList()
    {
        lock_.Enter();
        return items_;
    }
    void UnlockList() { lock_.Leave(); }

    // Raises EListError for a duplicate under dupError.
    void Add(const T& Item)
    {
        Guard g(lock_);
        if (duplicates_ != dupAccept) {
            for (const T& it : items_)
                if (it == Item) {
                    if (duplicates_ == dupError) throw EListError(u"List does not allow duplicates");
                    return;
                }
        }
        items_.push_back(Item);
    }
    // Removes the first occurrence.
    void Remove(const T& Item)
    {
        Guard g(lock_);
        for (auto it = items_.begin(); it != items_.end(); ++it)
            if (*it == Item) {
                items_.erase(it);
                return;
            }
    }
    void Clear()
    {
        Guard g(lock_);
        items_.clear();
    }
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

private:
    struct Guard {
        explicit Guard(TCriticalSection& c) : cs(c) { cs.Enter(); }
        ~Guard() { cs.Leave(); }
        TCriticalSection& cs;
    };
    TCriticalSection lock_;
    std::vector<T> items_;
    TDuplicates duplicates_ = dupIgnore;
};

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

class TThread {
public:
    // A suspended thread runs when Start is called. A running one starts once its creator has
    // finished constructing it (Execute needs the whole object): at the creator's next call
    // into the thread machinery (any TThread call, CheckSynchronize) or, when the main thread
    // created it, the next turn of its event loop.
    explicit TThread(bool CreateSuspended);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    // Terminates and waits for a thread that still runs. Derived classes whose Execute uses
    // their own members terminate and wait in their destructor.
    virtual ~TThread();

    void Start();
    void Resume() { Start(); }
    void Terminate();
    bool Terminated() const;
    bool Finished() const;
    bool Suspended() const;
    // Waits for Execute to end and answers ReturnValue. On the main thread it keeps running
    // the calls workers hand over, so a worker in Synchronize cannot deadlock it. Raises
    // EThread for a FreeOnTerminate thread or from the thread itself.
    int WaitFor();

    bool FreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
    // A hint the scheduler may ignore.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority Value) { priority_ = Value; }
    int ReturnValue() const { return returnValue_; }
    // What Execute raised and did not handle; null when it ended normally.
    std::exception_ptr FatalException() const { return fatalException_; }
    // Runs on the main thread after Execute ended.
    std::function<void(TThread*)> OnTerminate;

    // Runs Method on the main thread and waits for it; on the main thread at once. An
    // exception Method raises is raised again in the caller.
    void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
    static void Synchronize(TThread* Thread, const TThreadMethod& Method);
    // Runs Method on the main thread later without waiting (at once on the main thread).
    // Calls queued for a thread object are dropped when it is freed before they ran.
    void Queue(const TThreadMethod& Method) { Queue(this, Method); }
    static void Queue(TThread* Thread, const TThreadMethod& Method);
    static void RemoveQueuedEvents(TThread* Thread);
    // Names the thread for debuggers (first 15 characters).
    static void NameThreadForDebugging(const String& Name);

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int Value) { returnValue_ = Value; }

private:
    struct Impl;
    static void Run(TThread* Self);
    std::unique_ptr<Impl> impl_;
    bool freeOnTerminate_ = false;
    TThreadPriority priority_ = tpNormal;
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};

// Runs the calls handed to the main thread, in order; true when one ran. Timeout is how long
// to wait for a first call when none is pending. Does nothing on other threads.
bool CheckSynchronize(std::uint32_t Timeout = 0);
bool InMainThread();
// Makes the calling thread the main thread (the window layer calls it where it starts).
void SetMainThread();
// Called (from any thread) when a call was handed to the main thread, so an event loop can
// wake and run CheckSynchronize. Null removes it.
void SetWakeMainThread(void (*Wake)());

} // namespace plat
