// The workers' gate: a count of busy workers and of boxes being shown, under one mutex; every
// fork of the process, by whatever library, holds the workers as a box does.
#include "platform/worker_gate.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {
namespace {

struct BoxHook {
  int id = 0;
  std::function<void()> pause;
  std::function<void()> resume;
  int pausedBy = 0;  // boxes that paused it and have not yet resumed it
};

struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  int busy = 0;
  int held = 0;
  std::vector<BoxHook> hooks;
  int lastHookId = 0;
};

// Never destroyed: a worker left to itself may pass it while the process ends.
Gate& TheGate() {
  static Gate* gate = new Gate;
  return *gate;
}

// This thread is a worker of ours inside a job, and so counted busy.
thread_local bool tInJob = false;
// The hold of a fork this thread is making, from just before it until just after it, and
// whether the fork comes from inside a job of this thread's.
thread_local WorkersHeld* tForkHold = nullptr;
thread_local bool tForkFromJob = false;

void CountOneMore() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  ++gate.busy;
}

void CountOneLess() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  --gate.busy;
  gate.changed.notify_all();
}

// A library may fork at any time (SDL for a message box, D-Bus to start its session bus as the
// video starts, the sound server's client to start the server): the child inherits every lock
// another thread holds at that instant, and hangs on it at its first allocation. So each fork
// waits for our workers to rest, as a box does. A worker forking from inside its own job is not
// waited for: its own locks are the library's business.
void BeforeFork() {
  tForkFromJob = tInJob;
  if (tForkFromJob) CountOneLess();
  tForkHold = new WorkersHeld();
  if (!tForkHold->allResting())
    std::fprintf(stderr, "quillon: a worker is still busy; a process is started anyway\n");
}

void AfterForkInParent() {
  delete tForkHold;
  tForkHold = nullptr;
  // Back inside the job it forked from, without waiting on another box.
  if (tForkFromJob) CountOneMore();
}

// The child has none of our workers: the hold is left as it is.
void AfterForkInChild() {
  tForkHold = nullptr;
}

}  // namespace

void WorkerStarting() {
  static std::once_flag forksHold;
  std::call_once(forksHold,
                 [] { pthread_atfork(BeforeFork, AfterForkInParent, AfterForkInChild); });
  CountOneMore();
}

WorkerRest::WorkerRest() {
  WorkerLeaving();
}

WorkerRest::~WorkerRest() {
  Gate& gate = TheGate();
  std::unique_lock lock(gate.mutex);
  gate.changed.wait(lock, [&] { return gate.held == 0; });
  ++gate.busy;
  tInJob = true;
}

void WorkerLeaving() {
  tInJob = false;
  CountOneLess();
}

WorkersHeld::WorkersHeld(double seconds) {
  Gate& gate = TheGate();
  std::unique_lock lock(gate.mutex);
  ++gate.held;
  allResting_ = gate.changed.wait_for(lock, std::chrono::duration<double>(seconds),
                                      [&] { return gate.busy <= 0; });
  // A worker still inside a job may be using what a hook pauses: hooks wait for all to rest.
  if (!allResting_) return;
  for (BoxHook& hook : gate.hooks) {
    if (hook.pausedBy++ == 0) hook.pause();
    pausedHooks_.push_back(hook.id);
  }
}

WorkersHeld::~WorkersHeld() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  // Hooks removed meanwhile are gone; hooks added meanwhile were never paused by this box.
  for (BoxHook& hook : gate.hooks)
    for (int id : pausedHooks_)
      if (hook.id == id && --hook.pausedBy == 0) hook.resume();
  --gate.held;
  gate.changed.notify_all();
}

int AddBoxHook(std::function<void()> pause, std::function<void()> resume) {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  gate.hooks.push_back({++gate.lastHookId, std::move(pause), std::move(resume), 0});
  return gate.lastHookId;
}

void RemoveBoxHook(int id) {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  std::erase_if(gate.hooks, [id](const BoxHook& hook) { return hook.id == id; });
}

int BusyWorkers() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  return gate.busy;
}

int BoxesHoldingWorkers() {
  Gate& gate = TheGate();
  std::lock_guard lock(gate.mutex);
  return gate.held;
}

struct GatedWorker::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  bool ending = false;
};

GatedWorker::GatedWorker(std::function<void()> job) : shared_(std::make_shared<Shared>()) {
  WorkerStarting();
  try {
    thread_ = std::thread([shared = shared_, job = std::move(job)] {
      tInJob = true;
      job();
      WorkerLeaving();
      std::unique_lock lock(shared->mutex);
      shared->done = true;
      shared->changed.notify_all();
      shared->changed.wait(lock, [&] { return shared->ending; });
    });
  } catch (const std::system_error&) {
    CountOneLess();
    throw;
  }
}

GatedWorker::~GatedWorker() {
  if (thread_.joinable()) end();
}

bool GatedWorker::done() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->done;
}

bool GatedWorker::end(double seconds) {
  if (!thread_.joinable()) return true;
  {
    std::unique_lock lock(shared_->mutex);
    shared_->ending = true;
    shared_->changed.notify_all();
    if (seconds >= 0 && !shared_->changed.wait_for(lock, std::chrono::duration<double>(seconds),
                                                   [&] { return shared_->done; })) {
      thread_.detach();
      return false;
    }
  }
  thread_.join();
  return true;
}

}  // namespace platform
