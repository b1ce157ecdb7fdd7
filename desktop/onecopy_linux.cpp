// One copy per session on Linux: the first start binds a socket of the kernel's abstract
// namespace named after the user and the display, which goes with the process. A later start
// connects to it, checks that the same user holds it, sends its startup tokens in one message
// and waits for the answer that the window has come forward.
#include "desktop.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace desktop {

namespace {

/** How long a later start waits for the running copy to answer. */
constexpr int answerMilliseconds = 3000;
/** The most a message may hold: two tokens, which are short. */
constexpr std::size_t messageLimit = 4096;

/**
 * The session's name for the program: the user's and the display's. Empty on a platform without
 * a desktop to share.
 */
QByteArray sessionName()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QByteArray display;
    if (platform == "xcb") {
        display = qgetenv("DISPLAY");
        // ":0" and ":0.1" are screens of one display, and so of one session.
        if (const qsizetype colon = display.lastIndexOf(':'); colon >= 0)
            if (const qsizetype dot = display.indexOf('.', colon); dot >= 0)
                display.truncate(dot);
    } else if (platform.startsWith("wayland")) {
        display = qgetenv("XDG_RUNTIME_DIR") + '/' + qgetenv("WAYLAND_DISPLAY");
    }
    if (display.isEmpty())
        return {};
    return "org.numerillo.Numerillo/" + QByteArray::number(getuid()) + '/' + platform + '/' +
           display;
}

/** The address of `name` in the abstract namespace (a leading zero byte), and its length. */
std::optional<std::pair<sockaddr_un, socklen_t>> abstractAddress(const QByteArray &name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(name.size()) + 1 > sizeof address.sun_path)
        return std::nullopt;
    std::copy(name.begin(), name.end(), address.sun_path + 1);
    return std::pair{address,
                     static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())};
}

/** Whether the other end of `socket` runs as this user: anyone may bind an abstract name. */
bool sameUser(int socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

int newSocket()
{
    return socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
}

/** Hands this start over to the copy listening at `address`; true once it has answered. */
bool handOver(const sockaddr_un &address, socklen_t length)
{
    const int socket = newSocket();
    if (socket < 0)
        return false;
    bool answered = false;
    if (connect(socket, reinterpret_cast<const sockaddr *>(&address), length) == 0 &&
        sameUser(socket)) {
        const QByteArray message =
            qgetenv("DESKTOP_STARTUP_ID") + '\0' + qgetenv("XDG_ACTIVATION_TOKEN");
        pollfd wait{socket, POLLIN, 0};
        char answer = 0;
        answered = send(socket, message.constData(), static_cast<std::size_t>(message.size()),
                        MSG_NOSIGNAL) == message.size() &&
                   poll(&wait, 1, answerMilliseconds) == 1 && recv(socket, &answer, 1, 0) == 1;
    }
    close(socket);
    return answered;
}

} // namespace

struct OneCopy::Listener
{
    int socket = -1;
};

OneCopy::OneCopy()
{
    const QByteArray name = sessionName();
    const auto address = abstractAddress(name);
    if (!address)
        return;
    const auto [where, length] = *address;
    // Two starts at once: the one that binds first listens, the other hands over to it. One whose
    // listener has just gone tries again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int socket = newSocket();
        if (socket < 0)
            return;
        if (bind(socket, reinterpret_cast<const sockaddr *>(&where), length) == 0 &&
            ::listen(socket, 4) == 0) {
            m_listener = std::make_unique<Listener>();
            m_listener->socket = socket;
            return;
        }
        const int error = errno;
        close(socket);
        if (error != EADDRINUSE)
            return;
        if (handOver(where, length)) {
            m_handedOver = true;
            return;
        }
    }
}

OneCopy::~OneCopy()
{
    if (m_listener)
        close(m_listener->socket);
}

void OneCopy::listen()
{
    if (!m_listener)
        return;
    // The application owns the notifier, which goes before the event loop it belongs to.
    auto *notifier = new QSocketNotifier(m_listener->socket, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [socket = m_listener->socket] {
        const int peer = accept4(socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0)
            return;
        // A start sends its message as soon as it is connected; one that does not is not
        // waited for long.
        pollfd wait{peer, POLLIN, 0};
        QByteArray message(messageLimit, Qt::Uninitialized);
        const ssize_t size = sameUser(peer) && poll(&wait, 1, 200) == 1
                                 ? recv(peer, message.data(), messageLimit, 0)
                                 : -1;
        if (size >= 0) {
            message.truncate(size);
            const qsizetype split = message.indexOf('\0');
            comeForward(message.left(split), split < 0 ? QByteArray() : message.mid(split + 1));
            send(peer, "1", 1, MSG_NOSIGNAL);
        }
        close(peer);
    });
}

} // namespace desktop
