// startup_probe: how quickly a program puts its first window on an X screen, and how much memory
// it has needed by then.
//
//   startup_probe [-t SECONDS] [-s WIDTHxHEIGHT] [-i MS] [-w MS] [--] PROGRAM [ARGS...]
//
// Runs PROGRAM on $DISPLAY and prints one line:
//   map_ms=... paint_ms=... vmhwm_kb=... vmrss_kb=... size=WxH polls=N
// map_ms    from just before exec to the probe receiving the MapNotify of the program's first
//           top-level window (a child of the root that is not override-redirect, and of size
//           WIDTHxHEIGHT when -s is given);
// paint_ms  from just before exec to the first read-back of that window's pixels showing at least
//           two colours (an unpainted window is one flat colour: its background, or the root's
//           when it has none, so the root must be plain: start Xvfb with -br);
// vmhwm_kb  the program's peak resident memory, read -w MS (default 300) after the first paint,
//           together with its resident memory at that moment (vmrss_kb).
// The program is then ended with SIGTERM (SIGKILL if it lingers) and reaped.
//
// -t SECONDS  give up after this long (default 10); the exit status is then 2.
// -i MS       pause between two read-backs of the window (default 0.5). Every read-back is a
//             round trip that the X server serves between the program's own requests, so the
//             pause keeps the probe from crowding the program out.
//
// The program's standard output goes to the probe's standard error, so the probe's standard output
// carries only its result line.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr int exitFailure = 1;
constexpr int exitTimedOut = 2;
constexpr int exitUsage = 64;

volatile sig_atomic_t g_childPid = 0;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void sleepMs(double ms)
{
    if (ms <= 0)
        return;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1e3);
    ts.tv_nsec = static_cast<long>((ms - static_cast<double>(ts.tv_sec) * 1e3) * 1e6);
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbPtr = std::unique_ptr<T, FreeDeleter>;

struct Options
{
    double timeoutMs = 10000;
    double pauseMs = 0.5;
    double settleMs = 300;
    int width = 0; // 0: any size
    int height = 0;
    char **command = nullptr;
};

[[noreturn]] void usage(const char *message)
{
    if (message)
        std::fprintf(stderr, "startup_probe: %s\n", message);
    std::fprintf(stderr, "usage: startup_probe [-t SECONDS] [-s WIDTHxHEIGHT] [-i MS] [-w MS] [--] "
                         "PROGRAM [ARGS...]\n");
    std::exit(exitUsage);
}

double parseNumber(const char *text, const char *what)
{
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(value >= 0))
        usage((std::string("bad ") + what + ": " + text).c_str());
    return value;
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string option = argv[i];
        if (option == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc)
            usage(("missing value after " + option).c_str());
        const char *value = argv[++i];
        if (option == "-t") {
            options.timeoutMs = parseNumber(value, "timeout") * 1e3;
        } else if (option == "-i") {
            options.pauseMs = parseNumber(value, "pause");
        } else if (option == "-w") {
            options.settleMs = parseNumber(value, "wait");
        } else if (option == "-s") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2 ||
                options.width <= 0 || options.height <= 0)
                usage((std::string("bad size: ") + value).c_str());
        } else {
            usage(("unknown option " + option).c_str());
        }
    }
    if (i >= argc)
        usage("no program given");
    options.command = argv + i;
    return options;
}

// ---- the program under test ----

struct Child
{
    pid_t pid = -1;
    bool reaped = false;
    int status = 0;

    /** True once the program has ended (it is reaped then). */
    bool ended()
    {
        if (reaped)
            return true;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            reaped = true;
            g_childPid = 0;
        }
        return reaped;
    }

    void describeEnd() const
    {
        if (WIFEXITED(status))
            std::fprintf(stderr, "startup_probe: the program exited with status %d\n",
                         WEXITSTATUS(status));
        else if (WIFSIGNALED(status))
            std::fprintf(stderr, "startup_probe: the program was killed by signal %d\n",
                         WTERMSIG(status));
    }

    /** Ends the program politely, then firmly, and reaps it. */
    void stop()
    {
        if (pid <= 0 || ended())
            return;
        kill(pid, SIGTERM);
        const double deadline = nowMs() + 2000;
        while (!ended() && nowMs() < deadline)
            sleepMs(2);
        if (!reaped) {
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
            }
            reaped = true;
            g_childPid = 0;
        }
    }
};

void onFatalSignal(int signal)
{
    // Do not leave the program behind when the probe itself is interrupted.
    const pid_t pid = g_childPid;
    if (pid > 0)
        kill(pid, SIGKILL);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

bool readFully(int fd, void *buffer, std::size_t size, std::size_t &got)
{
    got = 0;
    auto *bytes = static_cast<unsigned char *>(buffer);
    while (got < size) {
        const ssize_t n = read(fd, bytes + got, size - got);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

/**
 * Starts the program and returns the moment just before its exec. The program learns nothing of
 * the probe: its standard output is redirected to standard error, everything else is inherited.
 */
double launch(Child &child, char **command)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::perror("startup_probe: pipe");
        std::exit(exitFailure);
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("startup_probe: fork");
        std::exit(exitFailure);
    }
    if (pid == 0) {
        close(fds[0]);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        const double start = nowMs();
        if (write(fds[1], &start, sizeof start) != static_cast<ssize_t>(sizeof start))
            _exit(127);
        execvp(command[0], command);
        // The write end closes on a successful exec; here it carries the reason for the failure.
        const int error = errno;
        [[maybe_unused]] const ssize_t ignored = write(fds[1], &error, sizeof error);
        _exit(127);
    }
    child.pid = pid;
    g_childPid = pid;
    close(fds[1]);

    double start = 0;
    std::size_t got = 0;
    if (!readFully(fds[0], &start, sizeof start, got) || got != sizeof start) {
        std::fprintf(stderr, "startup_probe: could not start %s\n", command[0]);
        child.stop();
        std::exit(exitFailure);
    }
    int error = 0;
    if (!readFully(fds[0], &error, sizeof error, got) || got != 0) {
        std::fprintf(stderr, "startup_probe: cannot run %s: %s\n", command[0],
                     std::strerror(error));
        child.stop();
        std::exit(exitFailure);
    }
    close(fds[0]);
    return start;
}

// ---- pixels ----

struct PixelFormat
{
    int bitsPerPixel = 0;
    int scanlinePad = 0;
    bool msbFirst = false;
};

std::optional<PixelFormat> pixelFormat(const xcb_setup_t *setup, uint8_t depth)
{
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == depth)
            return PixelFormat{it.data->bits_per_pixel, it.data->scanline_pad,
                               setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST};
    }
    return std::nullopt;
}

/** Whether a ZPixmap image of width x height pixels holds more than one colour. */
bool hasTwoColours(const uint8_t *data, std::size_t length, int width, int height, uint8_t depth,
                   const PixelFormat &format)
{
    const int bpp = format.bitsPerPixel;
    if (bpp % 8 != 0 || bpp > 32 || width <= 0 || height <= 0)
        return false;
    const std::size_t bytesPerPixel = static_cast<std::size_t>(bpp) / 8;
    const std::size_t pad = static_cast<std::size_t>(std::max(format.scanlinePad, 8));
    const std::size_t rowBits = static_cast<std::size_t>(width) * bytesPerPixel * 8;
    const std::size_t stride = (rowBits + pad - 1) / pad * pad / 8;
    if (stride * static_cast<std::size_t>(height) > length)
        return false;
    // The bits above the depth (the spare byte of a 24-bit pixel stored in 32 bits) mean nothing.
    const uint32_t mask = depth >= 32 ? 0xffffffffu : (uint32_t{1} << depth) - 1;

    const auto pixelAt = [&](const uint8_t *p) {
        uint32_t value = 0;
        if (format.msbFirst) {
            for (std::size_t b = 0; b < bytesPerPixel; ++b)
                value = (value << 8) | p[b];
        } else {
            for (std::size_t b = bytesPerPixel; b-- > 0;)
                value = (value << 8) | p[b];
        }
        return value & mask;
    };

    const uint32_t first = pixelAt(data);
    if (bpp == 32 && format.msbFirst == (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__)) {
        // The usual case, and a fast one: whole pixels in the probe's own byte order.
        for (int y = 0; y < height; ++y) {
            const uint8_t *row = data + stride * static_cast<std::size_t>(y);
            for (int x = 0; x < width; ++x) {
                uint32_t value;
                std::memcpy(&value, row + 4 * static_cast<std::size_t>(x), 4);
                if ((value & mask) != first)
                    return true;
            }
        }
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = data + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            if (pixelAt(row + bytesPerPixel * static_cast<std::size_t>(x)) != first)
                return true;
        }
    }
    return false;
}

/** The piece of a window's inside that lies on the screen, in the window's coordinates. */
struct Area
{
    int16_t x = 0;
    int16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t windowWidth = 0;
    uint16_t windowHeight = 0;
    uint8_t depth = 0;
};

std::optional<Area> visibleArea(xcb_connection_t *connection, xcb_window_t window,
                                const xcb_screen_t *screen)
{
    XcbPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry)
        return std::nullopt;
    // The window is a child of the root, so its position is a position on the screen.
    const int insideX = geometry->x + geometry->border_width;
    const int insideY = geometry->y + geometry->border_width;
    const int left = std::max(0, -insideX);
    const int top = std::max(0, -insideY);
    const int right = std::min<int>(geometry->width, screen->width_in_pixels - insideX);
    const int bottom = std::min<int>(geometry->height, screen->height_in_pixels - insideY);
    Area area;
    area.windowWidth = geometry->width;
    area.windowHeight = geometry->height;
    area.depth = geometry->depth;
    if (right > left && bottom > top) {
        area.x = static_cast<int16_t>(left);
        area.y = static_cast<int16_t>(top);
        area.width = static_cast<uint16_t>(right - left);
        area.height = static_cast<uint16_t>(bottom - top);
    }
    return area;
}

// ---- memory ----

struct Memory
{
    long hwmKb = -1;
    long rssKb = -1;
};

Memory readMemory(pid_t pid)
{
    Memory memory;
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return memory;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        long value = 0;
        if (std::sscanf(line, "VmHWM: %ld kB", &value) == 1)
            memory.hwmKb = value;
        else if (std::sscanf(line, "VmRSS: %ld kB", &value) == 1)
            memory.rssKb = value;
    }
    std::fclose(file);
    return memory;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);

    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "startup_probe: cannot connect to the X display %s\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(DISPLAY is not set)");
        return exitFailure;
    }
    // The program gets its own connection; it must not inherit ours.
    fcntl(xcb_get_file_descriptor(connection), F_SETFD, FD_CLOEXEC);

    const xcb_setup_t *setup = xcb_get_setup(connection);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem) {
        std::fprintf(stderr, "startup_probe: no screen %d on the display\n", screenNumber);
        return exitFailure;
    }
    const xcb_screen_t *screen = screens.data;
    const xcb_window_t root = screen->root;

    // Hear of every window mapped on the root from now on. The check is a round trip, so the
    // server has the selection before the program exists.
    const uint32_t eventMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    XcbPtr<xcb_generic_error_t> selectError(xcb_request_check(
        connection,
        xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &eventMask)));
    if (selectError) {
        std::fprintf(stderr, "startup_probe: cannot watch the root window (X error %d)\n",
                     selectError->error_code);
        return exitFailure;
    }

    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::signal(signal, onFatalSignal);

    Child child;
    const double start = launch(child, options.command);
    const double deadline = start + options.timeoutMs;
    const auto fail = [&](const char *stage) {
        if (child.ended()) {
            std::fprintf(stderr, "startup_probe: the program ended while %s\n", stage);
            child.describeEnd();
            xcb_disconnect(connection);
            return exitFailure;
        }
        if (nowMs() >= deadline)
            std::fprintf(stderr, "startup_probe: timed out after %.0f ms %s\n", options.timeoutMs,
                         stage);
        else
            std::fprintf(stderr, "startup_probe: lost the X connection %s\n", stage);
        child.stop();
        xcb_disconnect(connection);
        return nowMs() >= deadline ? exitTimedOut : exitFailure;
    };

    // 1. The first top-level window mapped.
    xcb_window_t window = XCB_WINDOW_NONE;
    double mapped = 0;
    std::optional<Area> area;
    while (window == XCB_WINDOW_NONE) {
        while (window == XCB_WINDOW_NONE) {
            XcbPtr<xcb_generic_event_t> event(xcb_poll_for_event(connection));
            if (!event)
                break;
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
            if (map->event != root || map->override_redirect)
                continue;
            const double seen = nowMs();
            auto candidate = visibleArea(connection, map->window, screen);
            if (!candidate)
                continue; // already gone again
            if (options.width > 0 && (candidate->windowWidth != options.width ||
                                      candidate->windowHeight != options.height))
                continue;
            window = map->window;
            mapped = seen;
            area = candidate;
        }
        if (window != XCB_WINDOW_NONE)
            break;
        if (xcb_connection_has_error(connection) || child.ended() || nowMs() >= deadline)
            return fail("waiting for the window to be mapped");
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        const double left = deadline - nowMs();
        poll(&fd, 1, static_cast<int>(std::clamp(left, 1.0, 20.0)));
    }

    // 2. The first read-back of the window with two colours in it.
    double painted = 0;
    long polls = 0;
    for (;;) {
        if (xcb_connection_has_error(connection) || child.ended() || nowMs() >= deadline)
            return fail("waiting for the window to be painted");
        // Only the map mattered; drop whatever else has come in.
        while (XcbPtr<xcb_generic_event_t> event{xcb_poll_for_queued_event(connection)}) {
        }
        if (area && area->width > 0 && area->height > 0) {
            const auto format = pixelFormat(setup, area->depth);
            if (!format) {
                std::fprintf(stderr, "startup_probe: no pixel format for depth %d\n", area->depth);
                child.stop();
                return exitFailure;
            }
            xcb_generic_error_t *rawError = nullptr;
            XcbPtr<xcb_get_image_reply_t> image(
                xcb_get_image_reply(connection,
                                    xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                                  area->x, area->y, area->width, area->height, ~0u),
                                    &rawError));
            XcbPtr<xcb_generic_error_t> error(rawError);
            const double seen = nowMs();
            ++polls;
            if (image) {
                if (hasTwoColours(xcb_get_image_data(image.get()),
                                  static_cast<std::size_t>(xcb_get_image_data_length(image.get())),
                                  area->width, area->height, area->depth, *format)) {
                    painted = seen;
                    break;
                }
            } else {
                // Moved, resized, unmapped or destroyed since: look again.
                area = visibleArea(connection, window, screen);
                if (!area) {
                    std::fprintf(stderr,
                                 "startup_probe: the window went away before it was painted\n");
                    child.stop();
                    return exitFailure;
                }
            }
        } else {
            area = visibleArea(connection, window, screen);
        }
        sleepMs(options.pauseMs);
    }
    const uint16_t width = area->windowWidth;
    const uint16_t height = area->windowHeight;

    // 3. Memory, once the program has had a moment to settle.
    const double settleEnd = painted + options.settleMs;
    while (nowMs() < settleEnd && !child.ended())
        sleepMs(std::min(10.0, settleEnd - nowMs()));
    if (child.ended()) {
        std::fprintf(stderr, "startup_probe: the program ended before its memory was read\n");
        child.describeEnd();
        return exitFailure;
    }
    const Memory memory = readMemory(child.pid);
    child.stop();
    xcb_disconnect(connection);
    if (memory.hwmKb < 0 || memory.rssKb < 0) {
        std::fprintf(stderr, "startup_probe: could not read the program's memory use\n");
        return exitFailure;
    }

    std::printf("map_ms=%.1f paint_ms=%.1f vmhwm_kb=%ld vmrss_kb=%ld size=%ux%u polls=%ld\n",
                mapped - start, painted - start, memory.hwmKb, memory.rssKb,
                static_cast<unsigned>(width), static_cast<unsigned>(height), polls);
    return 0;
}
