#include "nativewindow.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
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

} // namespace

namespace desktop {

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
    if (!announces(request))
        return answer;

    // The window manager works out the frame from the window's type and decoration hints, which
    // Qt set when it made the window, and writes it to the window's _NET_FRAME_EXTENTS.
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, false, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);

    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        answer.frame = readFrameExtents(connection, id, frameExtents);
        if (answer.frame || std::chrono::steady_clock::now() >= deadline)
            return answer;
        std::this_thread::sleep_for(1ms);
    }
}

} // namespace desktop
