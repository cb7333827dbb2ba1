// Asks an X window to close the way a window manager does when the user clicks its close
// button: a WM_DELETE_WINDOW message of the WM_PROTOCOLS protocol. Lets the end-to-end test
// close the viewer without a window manager running. Usage: x11_close_window WINDOW_ID
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
    return 2;
  }
  const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "cannot connect to the X server\n");
    xcb_disconnect(connection);
    return 1;
  }
  const xcb_atom_t protocols = InternAtom(connection, "WM_PROTOCOLS");
  const xcb_atom_t deleteWindow = InternAtom(connection, "WM_DELETE_WINDOW");
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = protocols;
  message.data.data32[0] = deleteWindow;
  message.data.data32[1] = XCB_CURRENT_TIME;
  const xcb_void_cookie_t sent = xcb_send_event_checked(
      connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
  std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
      xcb_request_check(connection, sent), &std::free);
  xcb_disconnect(connection);
  if (error) {
    std::fprintf(stderr, "the X server refused the message (error %d)\n", error->error_code);
    return 1;
  }
  return 0;
}
