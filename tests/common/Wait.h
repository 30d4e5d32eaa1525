// WaitUntil: the one bounded polling loop of the tests, for what another
// process or the X server does in its own time (a file written, a window
// mapped, a child started).
//
//   ASSERT_TRUE(xk::test::WaitUntil([&] { return access(path.c_str(), F_OK) == 0; }, 5));
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace xk::test {

// Polls done() every `every` until it holds or `seconds` have passed; says
// whether it held. done() runs at least once.
inline bool WaitUntil(const std::function<bool()>& done, double seconds = 20,
                      std::chrono::microseconds every = std::chrono::milliseconds(50)) {
  using Clock = std::chrono::steady_clock;
  auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(seconds));
  for (;;) {
    if (done()) return true;
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(every);
  }
}

}  // namespace xk::test
