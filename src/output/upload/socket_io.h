#pragma once
// TCP over POSIX sockets for the upload client and the station simulator:
// every wait is bounded by a time-out and ends at once when the CancelToken
// is cancelled (its eventfd is polled beside the socket), so neither a dead
// network nor a silent station can hold the program.
//
// Sockets are non-blocking; send never raises SIGPIPE; a connection closed or
// reset by the other side is reported as kClosed.

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "base/byte_image.h"
#include "output/upload/unique_fd.h"

namespace kvd::upload {

// The state an upload shares with whoever may stop it (the dialog, kvdtool's
// interrupt handler, the simulator's owner). cancel() is async-signal-safe.
class CancelToken {
public:
    CancelToken();
    CancelToken(const CancelToken&) = delete;
    CancelToken& operator=(const CancelToken&) = delete;

    void cancel();
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }
    // Readable from the first cancel() on.
    int wake_fd() const { return wake_.get(); }

private:
    std::atomic<bool> cancelled_{false};
    UniqueFd wake_;
};

enum class IoResult {
    kOk,
    kTimeout,
    kClosed,  // the other side closed or reset the connection
    kCancelled,
    kError,  // error holds errno
};

struct IoStatus {
    IoResult result = IoResult::kOk;
    int error = 0;
    bool ok() const { return result == IoResult::kOk; }
};

// Waits until fd has one of the poll events, the time-out passes or the token
// is cancelled. fd < 0 waits on the token alone (a cancellable pause).
IoStatus wait_for(int fd, short events, int timeout_ms, const CancelToken& token);

// A pause that a cancel ends early; false when it was cancelled.
bool pause_unless_cancelled(int ms, const CancelToken& token);

// A name or address resolved to an IPv4 address and port. error is the
// resolver's code (getaddrinfo's EAI_ value) when it failed.
struct ResolveResult {
    int error = 0;
    sockaddr_in address{};
};
using Resolver = std::function<ResolveResult(const std::string& host, std::uint16_t port)>;

// getaddrinfo for the first IPv4 address of a host name (or a dotted address).
ResolveResult resolve_ipv4(const std::string& host, std::uint16_t port);

// A dotted IPv4 address as typed, refused (false) before any lookup when it is
// not one.
bool parse_ipv4(const std::string& text, std::uint16_t port, sockaddr_in& out);

// Runs the resolver on a helper thread so that a cancel is seen while a slow
// name server is asked; kCancelled leaves the helper to finish on its own.
IoStatus resolve_cancellable(const Resolver& resolver, const std::string& host, std::uint16_t port,
                             const CancelToken& token, ResolveResult& out);

// A non-blocking IPv4 TCP socket; invalid (errno set) when none can be made.
UniqueFd open_tcp_socket();

// Connects a socket of open_tcp_socket to address within the time-out.
IoStatus connect_socket(int fd, const sockaddr_in& address, int timeout_ms,
                        const CancelToken& token);

// Sends all of data within the time-out.
IoStatus send_all(int fd, ByteView data, int timeout_ms, const CancelToken& token);

// Appends received bytes to out until it holds `want` bytes or the time-out
// passes (kTimeout, with what arrived in out).
IoStatus receive_exactly(int fd, Bytes& out, std::size_t want, int timeout_ms,
                         const CancelToken& token);

// Throws away what has already arrived (late replies to an earlier message);
// kClosed when the other side has closed meanwhile.
IoStatus discard_pending(int fd);

// Sets the options both ends want: no Nagle delay for the small
// request-reply messages.
void set_low_latency(int fd);

}  // namespace kvd::upload
