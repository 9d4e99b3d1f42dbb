// The gate our worker threads pass between jobs: while a message box is shown (SDL shows it from
// a forked process, which inherits every lock another thread holds at that instant) they wait
// there, holding nothing, and a thread of ours ends only while its owner joins it.
#pragma once

#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace platform {

// Counts one more worker as busy: called by the thread about to make it, so the new thread's own
// start counts as work. It stays busy until it first rests.
void WorkerStarting();

// Scope in which the calling worker holds nothing (no lock, no allocation under way): a box may
// be shown meanwhile. Leaving it waits while a box is up, and the worker is busy again.
class WorkerRest {
 public:
  WorkerRest();
  ~WorkerRest();
  WorkerRest(const WorkerRest&) = delete;
  WorkerRest& operator=(const WorkerRest&) = delete;
};

// Between two jobs of a worker: a box being shown is waited out here.
inline void BetweenJobs() {
  WorkerRest rest;
}

// The worker's last act before its thread ends: it no longer counts, for good.
void WorkerLeaving();

// Held by the thread that shows a box: waits until every worker rests (at most `seconds`; a worker
// stuck inside a job is then left as it is) and keeps them resting until destroyed. Once every
// worker rests it pauses the box hooks, and resumes them before letting the workers go.
class WorkersHeld {
 public:
  explicit WorkersHeld(double seconds = BoxWaitSeconds);
  ~WorkersHeld();
  WorkersHeld(const WorkersHeld&) = delete;
  WorkersHeld& operator=(const WorkersHeld&) = delete;
  // True when every worker was resting when the wait ended.
  bool allResting() const { return allResting_; }

  // How long a box waits for the workers' current jobs: a picture or a sound file takes a
  // fraction of that; only a job stuck in a call that never returns runs into it.
  static constexpr double BoxWaitSeconds = 3.0;

 private:
  bool allResting_ = false;
  std::vector<int> pausedHooks_;
};

// A thread that is not ours but runs beside a box (a library's own thread): `pause` stops it
// before a box is shown, `resume` starts it again after. Both run under the gate's lock, so they
// must not use the gate; a hook paused by several boxes at once is resumed after the last.
// Returns the hook's id for RemoveBoxHook, which a hook's owner calls before what the hook uses
// goes away; once it returns, neither function runs again.
int AddBoxHook(std::function<void()> pause, std::function<void()> resume);
void RemoveBoxHook(int id);

// Workers busy now, and boxes waiting for them or shown (tests).
int BusyWorkers();
int BoxesHoldingWorkers();

// A thread of ours running one job through the gate: the job calls BetweenJobs() between its
// steps. Once the job is done the thread rests until its owner ends it, so that it never exits
// (thread teardown frees memory and takes the C library's locks) while a box may be shown.
class GatedWorker {
 public:
  explicit GatedWorker(std::function<void()> job);
  // Ends it, waiting for the job however long it takes.
  ~GatedWorker();
  GatedWorker(const GatedWorker&) = delete;
  GatedWorker& operator=(const GatedWorker&) = delete;

  // The job has returned.
  bool done() const;
  // Asks the thread to end once its job is done and joins it, waiting at most `seconds` for the
  // job (negative: no bound). False when the job was still running: the thread is then left to
  // itself (detached), and ends with the process.
  bool end(double seconds = -1);

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace platform
