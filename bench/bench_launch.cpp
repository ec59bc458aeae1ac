// Start-up and rest, measured from outside the game:
//   bench_launch startup GAME FLOOR SHIM [PAIRS]
//     exec to first frame of GAME against the FLOOR program, launched in turns;
//   bench_launch paused GAME SHIM XSERVER_PID [SECONDS]
//     the CPU that the game and the X server use while another window has the focus.
// SHIM is the preloaded library that reports the first buffer swap.
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Child {
    pid_t pid = -1;
    int fd = -1;     // read end: the first swap's time arrives here
    double t0 = 0.0; // just before the fork
};

Child Start(const char* program, const char* shim)
{
    Child c;
    int fds[2];
    if (pipe(fds) != 0)
        return c;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    c.t0 = Now();
    c.pid = fork();
    if (c.pid == 0) {
        close(fds[0]);
        setenv("LD_PRELOAD", shim, 1);
        setenv("BM_FIRST_SWAP_FD", std::to_string(fds[1]).c_str(), 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    c.fd = fds[0];
    return c;
}

// Seconds from the fork to the end of the first swap, or a negative number when none came in time.
double WaitFirstFrame(Child& c, int timeout_ms)
{
    if (c.pid < 0)
        return -1.0;
    pollfd p{c.fd, POLLIN, 0};
    uint64_t ns = 0;
    if (poll(&p, 1, timeout_ms) != 1 || read(c.fd, &ns, sizeof ns) != static_cast<ssize_t>(sizeof ns))
        return -1.0;
    return static_cast<double>(ns) * 1e-9 - c.t0;
}

void Stop(Child& c)
{
    if (c.fd >= 0)
        close(c.fd);
    if (c.pid > 0) {
        kill(c.pid, SIGTERM);
        while (waitpid(c.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    c = Child();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// On a loaded machine a launch now and then cannot reach the X server; it is
// tried again before the run is given up.
double Launch(const char* program, const char* shim)
{
    double t = -1.0;
    for (int attempt = 0; attempt < 3 && t < 0; ++attempt) {
        Child c = Start(program, shim);
        t = WaitFirstFrame(c, 60000);
        Stop(c);
    }
    return t;
}

int Startup(const char* game, const char* floor, const char* shim, int pairs)
{
    std::vector<double> g, f, ratio;
    for (int i = 0; i < pairs; ++i) {
        double tg = Launch(game, shim);
        double tf = Launch(floor, shim);
        if (tg < 0 || tf < 0) {
            std::fprintf(stderr, "bench_launch: no first frame from %s\n", tg < 0 ? game : floor);
            return 1;
        }
        g.push_back(tg * 1e3);
        f.push_back(tf * 1e3);
        ratio.push_back(tg / tf);
        std::printf("startup pair %d: game %.1f ms, floor %.1f ms\n", i + 1, tg * 1e3, tf * 1e3);
    }
    std::printf("startup game %.1f ms, floor %.1f ms (medians of %d pairs)\n", Median(g), Median(f), pairs);
    std::printf("ratio startup %.2f\n", Median(ratio));
    return 0;
}

// utime + stime of a process, in seconds.
double ProcessCpu(pid_t pid)
{
    std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return -1.0;
    char buf[1024] = {0};
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    // Fields after the command name, which may hold spaces, start at the last ')'.
    const char* p = std::strrchr(buf, ')');
    unsigned long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2)
        return -1.0;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A plain window of our own takes the focus away from the game, as another program would.
bool TakeFocusAway(Display* dpy)
{
    Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 200, 200, 0, 0, 0);
    XSelectInput(dpy, w, StructureNotifyMask);
    XMapRaised(dpy, w);
    double deadline = Now() + 10.0;
    for (;;) {
        XWindowAttributes a;
        if (XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable)
            break;
        if (Now() > deadline)
            return false;
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
        }
        usleep(10000);
    }
    XSetInputFocus(dpy, w, RevertToParent, CurrentTime);
    XSync(dpy, False);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    return focus == w;
}

int Paused(const char* game, const char* shim, pid_t xserver, double seconds)
{
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "bench_launch: no display\n");
        return 1;
    }
    Child c = Start(game, shim);
    bool up = WaitFirstFrame(c, 60000) >= 0;
    bool away = up && TakeFocusAway(dpy);
    if (!away) {
        std::fprintf(stderr, "bench_launch: %s\n", up ? "the focus did not move" : "the game showed no frame");
        Stop(c);
        XCloseDisplay(dpy);
        return 1;
    }
    // The game has a moment to notice; then both processes are watched.
    usleep(500000);
    double g0 = ProcessCpu(c.pid), x0 = ProcessCpu(xserver), t0 = Now();
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double g1 = ProcessCpu(c.pid), x1 = ProcessCpu(xserver), t1 = Now();
    Stop(c);
    XCloseDisplay(dpy);
    if (g0 < 0 || g1 < 0 || x0 < 0 || x1 < 0) {
        std::fprintf(stderr, "bench_launch: cannot read the CPU times\n");
        return 1;
    }
    std::printf("paused %.0f s: game %.1f%% of a core, X server %.1f%% of a core\n", t1 - t0,
                (g1 - g0) / (t1 - t0) * 100.0, (x1 - x0) / (t1 - t0) * 100.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "startup") == 0)
        return Startup(argv[2], argv[3], argv[4], argc > 5 ? std::atoi(argv[5]) : 5);
    if (argc >= 5 && std::strcmp(argv[1], "paused") == 0)
        return Paused(argv[2], argv[3], static_cast<pid_t>(std::atoi(argv[4])), argc > 5 ? std::atof(argv[5]) : 10.0);
    std::fprintf(stderr, "usage: bench_launch startup GAME FLOOR SHIM [PAIRS]\n"
                         "       bench_launch paused GAME SHIM XSERVER_PID [SECONDS]\n");
    return 2;
}
