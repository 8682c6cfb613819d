#pragma once
// Starting an external program from an argument list (never through a shell) and waiting for its end with a
// bound, while the caller keeps doing its own work between the checks.
//
// The waiting side never kills the program: when the bound passes the program keeps running, and it is reaped
// later (by ReapFinishedProcesses, which every start and every wait also call), so no zombie stays behind.

#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <cstdint>
#include <functional>

namespace plat {

struct TStartedProcess {
  pid_t Pid = -1;
};

// Starts Program (a path, no search of PATH) with Arguments in WorkingDirectory (empty: the current one).
// False when it cannot be started (missing, not executable, not a program this system runs, a folder that
// does not exist); Error then says why, naming the program.
bool StartProcess(const QString& Program, const QStringList& Arguments, const QString& WorkingDirectory,
                  TStartedProcess& Started, QString* Error = nullptr);

// Checks once, without blocking, whether the process has ended; when it has, reaps it, stores its exit code
// (128 + signal number after a signal) and returns true.
bool ProcessEnded(const TStartedProcess& Process, int* ExitCode = nullptr);

// Milliseconds of a monotonic clock, wrapping at 32 bits; time spans are differences taken as unsigned 32-bit
// numbers, so the wrap does not matter.
using TTickClock = std::function<uint32_t()>;
uint32_t MonotonicTicks();

enum class TWaitResult { Ended, TimedOut };

// Waits until the process ends or LimitMs have passed on Clock since the call. Between two checks it calls
// Idle (the caller processes its events and pauses, e.g. 10 ms). A process still running at the limit is left
// running and handed to the background reaping.
TWaitResult WaitForProcess(const TStartedProcess& Process, uint32_t LimitMs, const std::function<void()>& Idle,
                           const TTickClock& Clock = MonotonicTicks, int* ExitCode = nullptr);

// Reaps the processes whose wait ended at the limit and that have ended since; returns how many are still
// running.
int ReapFinishedProcesses();

}  // namespace plat
