// The workers' gate: a box asked for while a worker is inside a job waits for that job and no
// job runs while the box is up; a worker stuck inside a job holds a box up only for the box's
// bound, and its owner can leave it behind instead of waiting on it. Box hooks are paused once
// the workers rest and resumed after the box, and never once removed. A fork, by whoever makes
// it, waits for the workers as a box does, except for the worker making it.
#include "platform/worker_gate.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/message_box.h"

namespace {

template <typename Check>
void WaitUntil(Check done) {
  while (!done()) std::this_thread::yield();
}

TEST(WorkerGateTest, BoxWaitsForTheJobUnderWayAndNoJobRunsDuringIt) {
  std::atomic<int> jobsStarted{0};
  std::atomic<bool> stop{false};
  std::promise<void> finishFirst;
  std::shared_future<void> firstMayFinish = finishFirst.get_future().share();
  platform::GatedWorker worker([&, firstMayFinish] {
    while (!stop) {
      if (++jobsStarted == 1) firstMayFinish.wait();
      platform::BetweenJobs();
    }
  });

  std::atomic<bool> boxShown{false};
  int jobsAtBox = -1, jobsAtBoxEnd = -1, busyAtBox = -1;
  platform::SetMessageBoxHandler(
      [&](const std::string&, const std::string&, platform::Buttons, platform::Icon) {
        jobsAtBox = jobsStarted;
        busyAtBox = platform::BusyWorkers();
        // A worker let through would start job after job meanwhile.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        jobsAtBoxEnd = jobsStarted;
        boxShown = true;
        return platform::Answer::Ok;
      });

  WaitUntil([&] { return jobsStarted == 1; });  // the worker is inside its first job
  std::thread asker([] {
    platform::ShowMessageBox("Text", "Error", platform::Buttons::Ok, platform::Icon::Exclamation);
  });
  WaitUntil([] { return platform::BoxesHoldingWorkers() > 0; });
  EXPECT_FALSE(boxShown);  // the box waits for the job under way
  finishFirst.set_value();
  asker.join();
  platform::SetMessageBoxHandler(nullptr);

  EXPECT_TRUE(boxShown);
  EXPECT_EQ(busyAtBox, 0);
  EXPECT_EQ(jobsAtBox, 1);
  EXPECT_EQ(jobsAtBoxEnd, 1);
  WaitUntil([&] { return jobsStarted > 3; });  // after the box the jobs go on
  stop = true;
  EXPECT_TRUE(worker.end(-1));
}

TEST(WorkerGateTest, StuckJobHoldsABoxOnlyForItsBoundAndItsOwnerCanLeaveIt) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> started;
  auto worker = std::make_unique<platform::GatedWorker>([&started, released] {
    started.set_value();
    released.wait();
  });
  started.get_future().wait();
  int hookCalls = 0;
  const int hook = platform::AddBoxHook([&] { ++hookCalls; }, [&] { ++hookCalls; });
  {
    platform::WorkersHeld held(0.05);
    EXPECT_FALSE(held.allResting());
    EXPECT_EQ(platform::BusyWorkers(), 1);
  }
  platform::RemoveBoxHook(hook);
  EXPECT_EQ(hookCalls, 0);  // the stuck worker might be using what the hook pauses
  EXPECT_FALSE(worker->done());
  EXPECT_FALSE(worker->end(0.01));  // left running, detached
  worker.reset();
  release.set_value();  // the left worker ends by itself; its job no longer counts
  WaitUntil([] { return platform::BusyWorkers() == 0; });

  // A worker whose job is done rests until joined: a box then waits for nobody.
  platform::GatedWorker quick([] {});
  WaitUntil([&] { return quick.done(); });
  EXPECT_TRUE(platform::WorkersHeld(0).allResting());
  EXPECT_TRUE(quick.end(0));
}

TEST(WorkerGateTest, BoxHooksArePausedOnceTheWorkersRestAndResumedAfterTheBox) {
  std::mutex mutex;
  std::vector<std::string> events;
  auto note = [&](const std::string& event) {
    std::lock_guard lock(mutex);
    events.push_back(event);
  };
  std::atomic<bool> inJob{false}, stop{false};
  std::atomic<int> jobs{0};
  std::promise<void> finishFirst;
  std::shared_future<void> firstMayFinish = finishFirst.get_future().share();
  platform::GatedWorker worker([&, firstMayFinish] {
    while (!stop) {
      inJob = true;
      if (++jobs == 1) firstMayFinish.wait();
      inJob = false;
      platform::BetweenJobs();
    }
  });
  const int mixer =
      platform::AddBoxHook([&] { note(inJob ? "mixer paused inside a job" : "mixer paused"); },
                           [&] { note("mixer resumed"); });
  const int removed =
      platform::AddBoxHook([&] { note("other paused"); }, [&] { note("other resumed"); });
  platform::SetMessageBoxHandler(
      [&](const std::string& text, const std::string&, platform::Buttons, platform::Icon) {
        note(text);
        // Removed during the box: not resumed. Added during it: neither paused nor resumed.
        platform::RemoveBoxHook(removed);
        platform::RemoveBoxHook(
            platform::AddBoxHook([&] { note("late paused"); }, [&] { note("late resumed"); }));
        return platform::Answer::Ok;
      });

  WaitUntil([&] { return jobs == 1; });
  std::thread asker([] {
    platform::ShowMessageBox("first box", "Error", platform::Buttons::Ok, platform::Icon::Stop);
  });
  WaitUntil([] { return platform::BoxesHoldingWorkers() > 0; });
  {
    std::lock_guard lock(mutex);
    EXPECT_TRUE(events.empty());  // nothing is paused while the job is under way
  }
  finishFirst.set_value();
  asker.join();
  platform::RemoveBoxHook(mixer);
  platform::ShowMessageBox("second box", "Error", platform::Buttons::Ok, platform::Icon::Stop);
  platform::SetMessageBoxHandler(nullptr);
  stop = true;
  EXPECT_TRUE(worker.end(-1));

  EXPECT_EQ(events, (std::vector<std::string>{"mixer paused", "other paused", "first box",
                                              "mixer resumed", "second box"}));
}

// Forks and waits for the child, which ends at once, with 1 when it finds `flag` set; returns
// the child's exit status.
int ForkedChildStatus(const std::atomic<bool>& flag) {
  const pid_t pid = fork();
  if (pid == 0) _exit(flag ? 1 : 0);
  int status = -1;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WorkerGateTest, ForkWaitsForTheJobUnderWayAndTheChildSeesNoJobRunning) {
  std::atomic<bool> inJob{false};
  std::promise<void> finish;
  std::shared_future<void> mayFinish = finish.get_future().share();
  platform::GatedWorker worker([&, mayFinish] {
    inJob = true;
    mayFinish.wait();
    inJob = false;
    platform::BetweenJobs();
    inJob = true;  // a second job, let in only after the fork
  });
  WaitUntil([&] { return inJob.load(); });

  std::atomic<bool> forked{false};
  int childStatus = -1;
  std::thread forker([&] {
    childStatus = ForkedChildStatus(inJob);
    forked = true;
  });
  // The fork's hold, or (were forks not held) the fork done inside the job.
  WaitUntil([&] { return platform::BoxesHoldingWorkers() > 0 || forked; });
  EXPECT_FALSE(forked);
  finish.set_value();
  forker.join();
  EXPECT_EQ(childStatus, 0);  // the worker was resting at the fork
  EXPECT_TRUE(worker.end(-1));
  EXPECT_EQ(platform::BusyWorkers(), 0);
}

TEST(WorkerGateTest, WorkerForkingInsideItsJobWaitsNotForItselfAndStaysBusy) {
  std::atomic<bool> no{false};
  int childStatus = -1, busyBefore = -1, busyAfter = -1;
  testing::internal::CaptureStderr();
  platform::GatedWorker worker([&] {
    busyBefore = platform::BusyWorkers();
    childStatus = ForkedChildStatus(no);
    busyAfter = platform::BusyWorkers();
  });
  worker.end(-1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(childStatus, 0);
  EXPECT_EQ(busyBefore, 1);
  EXPECT_EQ(busyAfter, 1);
  EXPECT_EQ(said.find("still busy"), std::string::npos) << said;
  EXPECT_EQ(platform::BusyWorkers(), 0);
  EXPECT_EQ(platform::BoxesHoldingWorkers(), 0);
}

}  // namespace
