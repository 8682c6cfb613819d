#include "platform/io/process.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>

#include <mutex>
#include <string>
#include <vector>

extern char** environ;

namespace plat {

namespace {

std::mutex g_lock;
std::vector<pid_t> g_abandoned;  // still running when their wait reached its limit

void Abandon(pid_t pid) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_abandoned.push_back(pid);
}

QString Start_Error_Text(const QString& Program, int err) {
  QString reason;
  switch (err) {
    case ENOENT: reason = QStringLiteral("the file or the working folder does not exist"); break;
    case EACCES: reason = QStringLiteral("the file is not executable"); break;
    case ENOEXEC: reason = QStringLiteral("the file is not a program this system can run"); break;
    default: reason = QString::fromLocal8Bit(strerror(err)); break;
  }
  return QStringLiteral("Cannot start \"%1\": %2.").arg(Program, reason);
}

}  // namespace

bool StartProcess(const QString& Program, const QStringList& Arguments, const QString& WorkingDirectory,
                  TStartedProcess& Started, QString* Error) {
  ReapFinishedProcesses();
  Started.Pid = -1;
  const std::string path = Program.toLocal8Bit().toStdString();
  std::vector<std::string> args;
  args.reserve(static_cast<std::size_t>(Arguments.size()) + 1);
  args.push_back(path);
  for (const QString& a : Arguments) args.push_back(a.toLocal8Bit().toStdString());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string dir = WorkingDirectory.toLocal8Bit().toStdString();
  if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  // The child starts with the default signal dispositions and an empty signal mask, in a session of its own,
  // so that closing the terminal or interrupting this program does not end an updater in the middle of a write.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

  pid_t pid = -1;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    if (Error) *Error = Start_Error_Text(Program, rc);
    return false;
  }
  Started.Pid = pid;
  return true;
}

bool ProcessEnded(const TStartedProcess& Process, int* ExitCode) {
  if (Process.Pid <= 0) return true;
  int status = 0;
  pid_t r;
  do {
    r = waitpid(Process.Pid, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return false;
  if (ExitCode) {
    if (r < 0) *ExitCode = -1;
    else if (WIFEXITED(status)) *ExitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) *ExitCode = 128 + WTERMSIG(status);
    else *ExitCode = -1;
  }
  return true;
}

uint32_t MonotonicTicks() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

TWaitResult WaitForProcess(const TStartedProcess& Process, uint32_t LimitMs, const std::function<void()>& Idle,
                           const TTickClock& Clock, int* ExitCode) {
  ReapFinishedProcesses();
  const uint32_t start = Clock();
  for (;;) {
    if (ProcessEnded(Process, ExitCode)) return TWaitResult::Ended;
    if (static_cast<uint32_t>(Clock() - start) >= LimitMs) {
      Abandon(Process.Pid);
      return TWaitResult::TimedOut;
    }
    if (Idle) Idle();
  }
}

int ReapFinishedProcesses() {
  std::lock_guard<std::mutex> guard(g_lock);
  std::vector<pid_t> running;
  for (pid_t pid : g_abandoned) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == 0) running.push_back(pid);
  }
  g_abandoned.swap(running);
  return static_cast<int>(g_abandoned.size());
}

}  // namespace plat
