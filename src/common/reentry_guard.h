// Marks a run in progress for as long as the guard lives, so that a request handled inside the
// run's own message processing can tell it is nested.
#pragma once

class ReentryGuard {
  public:
    explicit ReentryGuard(bool& running) : running_(running) { running_ = true; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
    ~ReentryGuard() { running_ = false; }

  private:
    bool& running_;
};
