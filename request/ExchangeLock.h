#pragma once
// The module's exchange lock: it lets one request/response exchange with the adapter run at a
// time. There is one lock per library, made available by the first Attach.
//
// It is a standard mutex on every platform, not a kernel mutex: taking an uncontended one
// stays inside the process, where each wait and release of a kernel mutex costs a system
// call (under Wine a round trip to the wine server, which held frame reads to a few
// thousand a second).

class ExchangeLock {
  public:
    // Makes the lock available; calling it again changes nothing.
    static void Create();

    // Waits without a time limit until the lock is held. Held() is false before the first
    // Create; the exchange must not run then.
    ExchangeLock();
    ~ExchangeLock();
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

    bool Held() const { return held_ != nullptr; }

  private:
    void* held_;  // the lock this guard holds, released by the destructor
};
