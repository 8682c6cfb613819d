#pragma once
// Loopback-only network guard for the test executables.
//
// Tests may talk only to 127.0.0.0/8 (or ::1). The guard replaces connect, sendto, sendmsg and sendmmsg in
// every test executable: a call aimed anywhere else is refused with EPERM and fails the running test.

#include <string>
#include <vector>

namespace plat::testing {

// Pulls the guard into the executable; the test mains call it first thing.
void InstallNetworkGuard();

// Addresses the guard refused since the start (for the guard's own tests).
std::vector<std::string> RefusedDestinations();

}  // namespace plat::testing
