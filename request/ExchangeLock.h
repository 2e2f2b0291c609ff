#pragma once
// The module's exchange lock: it lets one request/response exchange with the adapter run at a
// time. There is one lock per library, created by Attach; the Windows build uses an unnamed
// kernel mutex, the portable build a standard mutex.

class ExchangeLock {
  public:
    // Creates the lock, or replaces the one an earlier Attach created.
    static void Create();

    // Waits without a time limit until the lock is held. Held() is false when no lock was
    // created yet or waiting failed; the exchange must not run then.
    ExchangeLock();
    ~ExchangeLock();
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

    bool Held() const { return held_ != nullptr; }

  private:
    void* held_;  // the lock this guard holds, released by the destructor
};
