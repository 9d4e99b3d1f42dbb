// The quit signals: a flag and a self-pipe written by the handler, and a watchdog thread that
// waits on the pipe and ends the process with _exit once the grace is over.
#include "platform/quit_signals.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <thread>

namespace platform {
namespace {

// Set by the handler and read by the loop: an atomic that never takes a lock is safe in both.
std::atomic<bool> gSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int gWake[2] = {-1, -1};
std::atomic<int> gEndCode{0};
pid_t gGamePid = 0;

// Wakes the watchdog: 'q' for a signal, 'e' for the game's own end.
void Wake(char byte) {
  if (gWake[1] >= 0 && ::write(gWake[1], &byte, 1) < 0) {
  }
}

void OnQuitSignal(int) {
  const int saved = errno;
  gSignalled.store(true);
  Wake('q');
  errno = saved;
}

// A process forked by a library (SDL shows its message boxes from one) ends with the game
// instead of staying on the screen, and takes the signals as any program does.
void InForkedChild() {
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != gGamePid) ::_exit(0);  // the game ended while it forked
}

void Watch() {
  char byte = 0;
  while (::read(gWake[0], &byte, 1) < 0 && errno == EINTR) {
  }
  // A signal gives the loop its grace to end cleanly; the game's own end gives its threads a
  // second. Whatever still waits then (a blocked read, a box) ends with the process.
  std::this_thread::sleep_for(byte == 'q' ? std::chrono::duration<double>(QuitSignalGraceSeconds)
                                          : std::chrono::duration<double>(1.0));
  ::_exit(byte == 'q' ? 0 : gEndCode.load());
}

}  // namespace

void InstallQuitSignals() {
  // Close-on-exec: a program the game or a library starts does not inherit the pipe.
  if (gWake[0] >= 0 || ::pipe2(gWake, O_CLOEXEC) != 0) return;
  gGamePid = ::getpid();
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // reads and waits go on; the loop or the watchdog ends them
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  pthread_atfork(nullptr, nullptr, InForkedChild);
  std::thread(Watch).detach();
}

bool QuitSignalled() {
  return gSignalled.load();
}

void EndNow(int code) {
  std::fflush(stdout);
  ::_exit(code);
}

void EndWithin(int code) {
  if (gWake[1] < 0) return;
  gEndCode = code;
  Wake('e');
}

}  // namespace platform
