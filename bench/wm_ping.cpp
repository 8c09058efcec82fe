// Plays the window manager's part in telling a window that hangs from one that answers: sends the
// window _NET_WM_PING every 50 ms and times each answer, as GNOME's and KDE's window managers do
// before they offer to end a program that does not answer within five seconds.
//
//   wm_ping WINDOW SECONDS
//
// WINDOW is the X window's id (decimal or 0x...), as xdotool prints it. Prints the pings sent and
// answered, the slowest answer and the longest time the window went without answering any.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wm_ping WINDOW SECONDS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::stoul(argv[1], nullptr, 0));
    const auto duration = std::chrono::duration<double>(std::stod(argv[2]));

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "wm_ping: cannot connect to the display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    // The answer is sent to the root window, for the window manager, which selects the redirect
    // of changes below it; toolkits add a notify mask that other clients may select too (Qt: the
    // root window's own changes).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atomNamed(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atomNamed(connection, "_NET_WM_PING");

    std::map<std::uint32_t, Clock::time_point> waiting;
    const Clock::time_point start = Clock::now();
    Clock::time_point lastAnswer = start;
    double slowest = 0;
    double longestSilence = 0;
    std::uint32_t sent = 0;
    std::uint32_t answered = 0;
    Clock::time_point nextPing = start;
    while (Clock::now() - start < duration) {
        if (Clock::now() >= nextPing) {
            xcb_client_message_event_t message{};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = window;
            message.type = protocols;
            message.data.data32[0] = ping;
            message.data.data32[1] = ++sent;
            message.data.data32[2] = window;
            waiting[sent] = Clock::now();
            xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&message));
            xcb_flush(connection);
            nextPing += std::chrono::milliseconds(50);
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
                const auto found = waiting.find(answer->data.data32[1]);
                if (answer->data.data32[0] == ping && found != waiting.end()) {
                    const Clock::time_point now = Clock::now();
                    slowest = std::max(slowest, millisecondsBetween(found->second, now));
                    longestSilence = std::max(longestSilence, millisecondsBetween(lastAnswer, now));
                    lastAnswer = now;
                    waiting.erase(found);
                    ++answered;
                }
            }
            std::free(event);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const Clock::time_point end = Clock::now();
    longestSilence = std::max(longestSilence, millisecondsBetween(lastAnswer, end));
    for (const auto& [id, sentAt] : waiting) {
        slowest = std::max(slowest, millisecondsBetween(sentAt, end));
    }
    std::printf("pings %u, answered %u, slowest answer %.0f ms, longest silence %.0f ms\n", sent,
                answered, slowest, longestSilence);
    xcb_disconnect(connection);
    return 0;
}
