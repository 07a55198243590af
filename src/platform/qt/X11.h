#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace glimpa::x11 {

/// Frees what xcb hands back.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

/// The atom of a name, made when it is not there yet; none on failure.
xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name);

/// The program's connection to the X server; none off X11.
xcb_connection_t* connection();

}  // namespace glimpa::x11
