// Start-up time of the configurator against a bare Qt main window of the same size, under the X server of
// DISPLAY (run it under xvfb-run): from the process start to the first map of a top-level window, runs of the two
// interleaved, medians compared. Prints the medians and startup_ratio = configurator / bare window.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/startup_harness [runs]
//
// The configurator keeps its folders beside its executable, so it is copied into a folder of its own; its first
// run there creates them and is not counted, nor is the bare window's first run.
#include <xcb/xcb.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

struct TMapped {
  double Ms = -1;  // process start to map; -1 when no window was mapped in time
  int Width = 0, Height = 0;
};

class TXServer {
 public:
  TXServer() : c_(xcb_connect(nullptr, nullptr)) {
    if (!Ok()) return;
    xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    root_ = s->root;
    // Top-level windows are children of the root window here: no window manager reparents them.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c_);
  }
  ~TXServer() { xcb_disconnect(c_); }
  bool Ok() const { return c_ && !xcb_connection_has_error(c_); }

  // Starts Argv and waits for the first top-level map; the program is ended afterwards.
  TMapped Run(const std::vector<std::string>& Argv, const fs::path& Dir) {
    Drain();
    const auto start = TClock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      std::error_code ec;
      fs::current_path(Dir, ec);
      std::vector<char*> args;
      for (const std::string& a : Argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    TMapped out;
    const int fd = xcb_get_file_descriptor(c_);
    while (out.Ms < 0 && std::chrono::duration<double>(TClock::now() - start).count() < 30) {
      xcb_generic_event_t* e = xcb_poll_for_event(c_);
      if (!e) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval tv{0, 50000};
        select(fd + 1, &set, nullptr, nullptr, &tv);
        continue;
      }
      if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
        out.Ms = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
        const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
        if (auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, m->window), nullptr)) {
          out.Width = g->width;
          out.Height = g->height;
          free(g);
        }
      }
      free(e);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return out;
  }

 private:
  void Drain() {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) free(e);
  }
  xcb_connection_t* c_;
  xcb_window_t root_ = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  TXServer x;
  if (!x.Ok()) {
    std::fprintf(stderr, "no X server: run under xvfb-run\n");
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("startup_harness_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path exe = dir / "configurator";
  fs::copy_file(CONFIGURATOR_EXE, exe, fs::copy_options::overwrite_existing);
  const TMapped first = x.Run({exe.string()}, dir);
  if (first.Ms < 0) {
    std::fprintf(stderr, "the configurator mapped no window\n");
    return 1;
  }
  const std::vector<std::string> bare = {BARE_WINDOW_EXE, std::to_string(first.Width), std::to_string(first.Height)};
  x.Run(bare, dir);
  std::vector<double> program, peer;
  for (int i = 0; i < runs; ++i) {
    const TMapped a = x.Run({exe.string()}, dir);
    const TMapped b = x.Run(bare, dir);
    if (a.Ms < 0 || b.Ms < 0) {
      std::fprintf(stderr, "run %d: no window mapped\n", i);
      return 1;
    }
    program.push_back(a.Ms);
    peer.push_back(b.Ms);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  const double p = Median(program), q = Median(peer);
  std::printf("window %dx%d, %d runs each\nconfigurator_ms %.1f\nbare_window_ms %.1f\nstartup_ratio %.2f\n",
              first.Width, first.Height, runs, p, q, p / q);
  return 0;
}
