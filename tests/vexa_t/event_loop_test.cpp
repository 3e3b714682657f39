#include "vexa_t/event_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace vexa {
namespace {

using namespace std::chrono_literals;

TEST(EventLoopTest, TasksFromOtherThreadsRunHereInTheOrderPosted) {
  EventLoop loop;
  std::vector<int> ran;
  const auto here = std::this_thread::get_id();
  bool all_here = true;
  std::thread poster([&] {
    for (int n = 0; n < 100; ++n) {
      loop.Post([&, n] {
        ran.push_back(n);
        all_here = all_here && std::this_thread::get_id() == here;
      });
    }
  });
  EXPECT_TRUE(loop.RunUntil([&] { return ran.size() == 100; }, EventLoop::Clock::now() + 10s));
  poster.join();
  EXPECT_TRUE(all_here);
  for (int n = 0; n < 100; ++n) EXPECT_EQ(ran[n], n);
}

TEST(EventLoopTest, TheTimerTicksUntilItStopsItselfAndADeadlineEndsTheWait) {
  EventLoop loop;
  int ticks = 0;
  loop.StartTimer(1ms, [&] {
    if (++ticks == 3) loop.StopTimer();
  });
  EXPECT_FALSE(loop.RunUntil([] { return false; }, EventLoop::Clock::now() + 50ms));
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(loop.timer_active());
}

TEST(EventLoopTest, AWatchedDescriptorIsServedWhenReadable) {
  EventLoop loop;
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  bool served = false;
  loop.Watch(pipe_ends[0], [&] {
    char byte = 0;
    served = read(pipe_ends[0], &byte, 1) == 1 && byte == 's';
  });
  ASSERT_EQ(write(pipe_ends[1], "s", 1), 1);
  EXPECT_TRUE(loop.RunUntil([&] { return served; }, EventLoop::Clock::now() + 10s));
  close(pipe_ends[0]);
  close(pipe_ends[1]);
}

}  // namespace
}  // namespace vexa
