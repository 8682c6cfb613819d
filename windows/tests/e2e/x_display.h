#pragma once
// The X server a driver of the real program talks to: finding a shown top-level window by its title, grabbing
// its picture, and closing it as a window manager would.

#include <QImage>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

struct XConnection {
  XConnection() : c(xcb_connect(nullptr, nullptr)) {}
  ~XConnection() { xcb_disconnect(c); }
  bool Ok() const { return c && !xcb_connection_has_error(c); }
  xcb_screen_t* Screen() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data; }

  xcb_atom_t Atom(const char* name) const {
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
  }

  std::string Name(xcb_window_t w) const {
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 0, 1024), nullptr);
    std::string name;
    if (r) name.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    free(r);
    return name;
  }

  bool Viewable(xcb_window_t w) const {
    auto* r = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    free(r);
    return v;
  }

  // The shown top-level window of that title.
  std::optional<xcb_window_t> Find(const std::string& title) const {
    auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, Screen()->root), nullptr);
    std::optional<xcb_window_t> found;
    if (tree) {
      const xcb_window_t* kids = xcb_query_tree_children(tree);
      for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        if (Name(kids[i]) == title && Viewable(kids[i])) found = kids[i];
      }
    }
    free(tree);
    return found;
  }

  QImage Grab(xcb_window_t w) const {
    auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    if (!g) return {};
    const int width = g->width, height = g->height;
    free(g);
    auto* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, uint16_t(width), uint16_t(height), ~0u), nullptr);
    if (!img) return {};
    QImage out;
    if (xcb_get_image_data_length(img) >= width * height * 4) {
      out = QImage(xcb_get_image_data(img), width, height, QImage::Format_RGB32).copy();
    }
    free(img);
    return out;
  }

  // What the window manager sends when the user closes a window from its title bar.
  void Close(xcb_window_t w) const {
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = w;
    e.type = Atom("WM_PROTOCOLS");
    e.data.data32[0] = Atom("WM_DELETE_WINDOW");
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    xcb_flush(c);
  }

  xcb_connection_t* c;
};
