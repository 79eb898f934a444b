#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace tilewise::x11 {

template <auto Fetch>
class XcbReply;

/// The reply to an xcb request, awaited on first use, so that requests that do not depend on
/// each other share one round trip: send them all, then use them. An error (a window that is
/// gone, a request the server does not know) reads as no reply and never reaches Xlib's error
/// handler. A reply never used is discarded with the object.
template <typename Reply, typename Cookie,
          Reply* (*Fetch)(xcb_connection_t*, Cookie, xcb_generic_error_t**)>
class XcbReply<Fetch> {
  public:
    XcbReply(xcb_connection_t* connection, Cookie cookie)
        : connection_(connection), cookie_(cookie) {}
    XcbReply(const XcbReply&) = delete;
    XcbReply& operator=(const XcbReply&) = delete;
    XcbReply(XcbReply&& other) noexcept
        : connection_(std::exchange(other.connection_, nullptr)),
          cookie_(other.cookie_),
          awaited_(other.awaited_),
          reply_(std::move(other.reply_)) {}
    XcbReply& operator=(XcbReply&&) = delete;
    ~XcbReply() {
        if (connection_ != nullptr && !awaited_)
            xcb_discard_reply(connection_, cookie_.sequence);
    }

    /// The reply, or null after an error or a lost connection.
    const Reply* get() {
        if (!awaited_) {
            awaited_ = true;
            xcb_generic_error_t* error = nullptr;
            reply_.reset(Fetch(connection_, cookie_, &error));
            std::free(error);
        }
        return reply_.get();
    }

  private:
    xcb_connection_t* connection_;
    Cookie cookie_;
    bool awaited_ = false;
    std::unique_ptr<Reply, void (*)(void*)> reply_{nullptr, &std::free};
};

}  // namespace tilewise::x11
