#ifndef MOYAN_LIBRARY_PACING_H_
#define MOYAN_LIBRARY_PACING_H_

#include <cstdint>

// How often a long handler of the window's thread (a listing, a search, an import) hands
// what it has to the window and lets the window's messages run. Doing so for every row or
// file costs a trip to the system each time (a message-queue check, under Wine a round
// trip to its server) for nothing the user could see: a window that paints and answers
// every few hundredths of a second looks and feels the same.
struct Pacing {
  // Zero: at every step, as often as a handler may.
  int64_t interval_ms = 20;
};

// Milliseconds of a steady clock (never set back).
int64_t steady_milliseconds();

// Says when the next turn is due: at the first question, then once the interval has
// passed since the last turn.
class Pacer {
 public:
  explicit Pacer(Pacing pacing) : interval_ms_(pacing.interval_ms) {}

  bool due() {
    if (interval_ms_ <= 0) return true;
    const int64_t now = steady_milliseconds();
    if (started_ && now - last_ < interval_ms_) return false;
    started_ = true;
    last_ = now;
    return true;
  }

 private:
  int64_t interval_ms_;
  int64_t last_ = 0;
  bool started_ = false;
};

#endif  // MOYAN_LIBRARY_PACING_H_
