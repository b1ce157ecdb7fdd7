#include "nativewindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace {

/** Owns a reply from xcb, which the caller must free(). */
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XcbReply<Reply> own(Reply *reply)
{
    return {reply, &std::free};
}

/** Qt's connection to the X server, or null when the program does not run on X11. */
xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

/** The atoms named, in one round trip; XCB_ATOM_NONE for any the server could not make. */
template <std::size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t *connection,
                                      const std::array<std::string_view, N> &names)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(connection, false, static_cast<uint16_t>(names[i].size()),
                                     names[i].data());
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto reply = own(xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atoms;
}

/** What the running window manager lists in _NET_SUPPORTED: none where no window manager runs. */
std::vector<xcb_atom_t> supportedFeatures(xcb_connection_t *connection, xcb_window_t root,
                                          xcb_atom_t supported)
{
    const auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, false, root, supported, XCB_ATOM_ATOM, 0, 4096),
        nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return {};
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

/** The window's _NET_FRAME_EXTENTS, once the window manager has set them. */
std::optional<QMargins> readFrameExtents(xcb_connection_t *connection, xcb_window_t window,
                                         xcb_atom_t frameExtents)
{
    const auto reply = own(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, false, window, frameExtents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    // left, right, top, bottom
    const auto *extents = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                    static_cast<int>(extents[1]), static_cast<int>(extents[3]));
}

/** Sends a client message about `window` to the root window, where the window manager hears it. */
void tellWindowManager(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type,
                       const std::array<uint32_t, 5> &data)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(connection, false, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
}

/**
 * The X server's time now, which a window manager takes as that of the user's request: asked on
 * a connection of its own, since Qt's reads every event of its own connection.
 */
xcb_timestamp_t serverTimeNow()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        // A property change carries the server's time.
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection);
        while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
            const bool changed = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (changed)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (changed)
                break;
        }
    }
    xcb_disconnect(connection);
    return time;
}

/** The time of the user's action that a startup id carries ("..._TIME<number>"), if any. */
std::optional<xcb_timestamp_t> startupTime(const QByteArray &startupId)
{
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const uint time = startupId.mid(at + 5).toUInt(&ok);
    return ok ? std::optional<xcb_timestamp_t>(time) : std::nullopt;
}

/**
 * Tells the launcher that the start `startupId` is over, so its busy feedback ends: the
 * message "remove: ID=..." of the startup notification protocol, in pieces of 20 bytes.
 */
void endStartup(xcb_connection_t *connection, xcb_window_t window, const QByteArray &startupId)
{
    QByteArray quoted = startupId;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray text = "remove: ID=\"" + quoted + '"';
    const auto [begin, more] =
        internAtoms<2>(connection, {"_NET_STARTUP_INFO_BEGIN", "_NET_STARTUP_INFO"});
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    // The text goes with its terminating zero byte, which a QByteArray always has.
    for (qsizetype at = 0; at <= text.size(); at += 20) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 8;
        message.window = window;
        message.type = at == 0 ? begin : more;
        std::memcpy(message.data.data8, text.constData() + at,
                    static_cast<std::size_t>(std::min<qsizetype>(20, text.size() + 1 - at)));
        xcb_send_event(connection, false, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&message));
    }
}

/**
 * Sets the win_gravity of the window's WM_NORMAL_HINTS to the centre gravity, keeping the rest
 * of the hints (sizes, position) as they are.
 */
void setCentreGravity(xcb_connection_t *connection, xcb_window_t window)
{
    // The fields of WM_SIZE_HINTS: flags, position and size, the minimum and maximum sizes, the
    // size increments, the aspect ratios, the base size, then the gravity.
    constexpr std::size_t fields = 18, gravityField = 17;
    constexpr uint32_t hasGravity = 1u << 9;
    const auto reply = own(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, false, window, XCB_ATOM_WM_NORMAL_HINTS,
                                                XCB_ATOM_WM_SIZE_HINTS, 0, fields),
                               nullptr));
    std::array<uint32_t, fields> hints{};
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_WM_SIZE_HINTS) {
        const auto length = std::min<std::size_t>(
            fields, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4);
        const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        std::copy(values, values + length, hints.begin());
    }
    hints[0] |= hasGravity;
    hints[gravityField] = XCB_GRAVITY_CENTER;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, fields, hints.data());
}

} // namespace

namespace desktop {

void showInTaskBar(QWidget &window, bool shown)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto [state, skipTaskBar] =
        internAtoms<2>(connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"});
    constexpr uint32_t remove = 0, add = 1, fromApplication = 1;
    tellWindowManager(connection, static_cast<xcb_window_t>(window.winId()), state,
                      {shown ? remove : add, skipTaskBar, 0, fromApplication, 0});
    xcb_flush(connection);
}

bool activateNatively(QWidget &window, const QByteArray &startupId)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return false;
    const auto id = static_cast<xcb_window_t>(window.winId());
    // A window manager that keeps windows from stealing the focus (all of them, these days)
    // weighs the time of the request against the user's latest action elsewhere: the time is
    // that of the click that started the program again, or, from a terminal, where nothing
    // tells that time, the time of the hand-over.
    const std::optional<xcb_timestamp_t> launched = startupTime(startupId);
    const xcb_timestamp_t time = launched ? *launched : serverTimeNow();
    const auto [activeWindow] = internAtoms<1>(connection, {"_NET_ACTIVE_WINDOW"});
    constexpr uint32_t fromApplication = 1;
    tellWindowManager(connection, id, activeWindow, {fromApplication, time, 0, 0, 0});
    if (!startupId.isEmpty())
        endStartup(connection, id, startupId);
    xcb_flush(connection);
    // Not Qt's activation as well: it would ask again with the time of the program's last event,
    // which a window manager may refuse.
    return true;
}

void keepOutOfTaskBar(QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto [state, skipTaskBar, modal] = internAtoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_MODAL"});
    if (state == XCB_ATOM_NONE || skipTaskBar == XCB_ATOM_NONE || modal == XCB_ATOM_NONE)
        return;
    // Openbox gives the keyboard focus to a new window that stays out of the task bar only if it
    // is a dialog or modal. A window without a parent is modal for the program's other windows,
    // and the program has one window at a time anyway.
    const std::array<xcb_atom_t, 2> states{skipTaskBar, modal};
    // Set on the unmapped window, where the window manager reads it when it maps the window; Qt
    // merges it with the states it sets itself.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

ManagerFrame askWindowManager(QWidget &window)
{
    using namespace std::chrono_literals;
    // A window manager that announces the request answers it at once, in practice within a
    // millisecond, and within a few hundred on a machine that is very busy (mutter, seen here);
    // one that has hung is not waited for longer than this.
    constexpr auto patience = 1000ms;

    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return {};
    const auto id = static_cast<xcb_window_t>(window.winId());
    const auto tree =
        own(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr));
    if (!tree)
        return {};
    const auto [supported, request, frameExtents, fullPlacement] =
        internAtoms<4>(connection, {"_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS",
                                    "_NET_FRAME_EXTENTS", "_NET_WM_FULL_PLACEMENT"});
    const std::vector<xcb_atom_t> features = supportedFeatures(connection, tree->root, supported);
    const auto announces = [&features](xcb_atom_t feature) {
        return std::find(features.begin(), features.end(), feature) != features.end();
    };
    ManagerFrame answer;
    answer.placesWindows = announces(fullPlacement);
    // Where no window manager runs, nobody reads the gravity. Xwayland names its screens' outputs
    // XWAYLAND0, XWAYLAND1 and so on.
    const QScreen *screen = window.screen();
    answer.keepsGravity =
        !features.empty() && !(screen && screen->name().startsWith(QLatin1String("XWAYLAND")));
    if (!announces(request))
        return answer;

    // The window manager works out the frame from the window's type and decoration hints, which
    // Qt set when it made the window, and writes it to the window's _NET_FRAME_EXTENTS.
    tellWindowManager(connection, id, request, {});
    xcb_flush(connection);

    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        answer.frame = readFrameExtents(connection, id, frameExtents);
        if (answer.frame || std::chrono::steady_clock::now() >= deadline)
            return answer;
        std::this_thread::sleep_for(1ms);
    }
}

void keepMiddleWhenMapped(QWidget &window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    // The window's gravity, in WM_NORMAL_HINTS, tells the window manager which point of the frame
    // goes where the client area was asked to be: for the centre gravity, the middle. Qt writes
    // the hints, with a gravity of its own, as it maps the window, and the window manager reads
    // them when the map reaches it. With the server held for this connection alone from now
    // until the event loop next runs, Qt's map and then the centre gravity are written before
    // the window manager can read anything.
    xcb_grab_server(connection);
    QMetaObject::invokeMethod(
        qApp,
        [connection, id] {
            setCentreGravity(connection, id);
            xcb_ungrab_server(connection);
            xcb_flush(connection);
        },
        Qt::QueuedConnection);
}

} // namespace desktop
