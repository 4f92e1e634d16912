#include "output/upload/socket_io.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace kvd::upload {
namespace {

using Clock = std::chrono::steady_clock;

// Poll slices of the resolver wait: the helper thread has no descriptor.
constexpr int kResolveSliceMs = 50;

int remaining_ms(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

Clock::time_point deadline_after(int ms) {
    return Clock::now() + std::chrono::milliseconds(ms);
}

bool is_connection_loss(int error) {
    return error == ECONNRESET || error == EPIPE || error == ECONNABORTED || error == ENOTCONN;
}

IoStatus error_status(int error) {
    return {is_connection_loss(error) ? IoResult::kClosed : IoResult::kError, error};
}

}  // namespace

CancelToken::CancelToken() : wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void CancelToken::cancel() {
    cancelled_.store(true, std::memory_order_release);
    if (wake_.valid()) {
        const std::uint64_t one = 1;
        // The counter only has to become non-zero; a full counter already is.
        [[maybe_unused]] const ssize_t n = ::write(wake_.get(), &one, sizeof one);
    }
}

IoStatus wait_for(int fd, short events, int timeout_ms, const CancelToken& token) {
    const Clock::time_point deadline = deadline_after(timeout_ms);
    for (;;) {
        if (token.cancelled()) return {IoResult::kCancelled, 0};
        pollfd fds[2] = {{token.wake_fd(), POLLIN, 0}, {fd, events, 0}};
        const nfds_t count = fd >= 0 ? 2 : 1;
        const int n = ::poll(fds, count, remaining_ms(deadline));
        if (n < 0) {
            if (errno == EINTR) continue;
            return {IoResult::kError, errno};
        }
        if (token.cancelled() || (fds[0].revents & POLLIN)) return {IoResult::kCancelled, 0};
        if (fd >= 0 && fds[1].revents != 0) return {IoResult::kOk, 0};
        if (n == 0 || remaining_ms(deadline) == 0) return {IoResult::kTimeout, 0};
    }
}

bool pause_unless_cancelled(int ms, const CancelToken& token) {
    return wait_for(-1, 0, ms, token).result != IoResult::kCancelled;
}

ResolveResult resolve_ipv4(const std::string& host, std::uint16_t port) {
    ResolveResult result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    result.error = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result.error != 0) return result;
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            std::memcpy(&result.address, entry->ai_addr, sizeof(sockaddr_in));
            result.address.sin_port = htons(port);
            return result;
        }
    }
    result.error = EAI_NONAME;
    return result;
}

bool parse_ipv4(const std::string& text, std::uint16_t port, sockaddr_in& out) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, text.c_str(), &address.sin_addr) != 1) return false;
    out = address;
    return true;
}

IoStatus resolve_cancellable(const Resolver& resolver, const std::string& host, std::uint16_t port,
                             const CancelToken& token, ResolveResult& out) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done_changed;
        bool done = false;
        ResolveResult result;
    };
    auto shared = std::make_shared<Shared>();
    // The helper owns a copy of everything it reads, so that it may outlive
    // this call after a cancel.
    std::thread helper([shared, resolver, host, port] {
        ResolveResult result = resolver(host, port);
        std::lock_guard lock(shared->mutex);
        shared->result = result;
        shared->done = true;
        shared->done_changed.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    while (!shared->done) {
        if (token.cancelled()) {
            lock.unlock();
            helper.detach();
            return {IoResult::kCancelled, 0};
        }
        shared->done_changed.wait_for(lock, std::chrono::milliseconds(kResolveSliceMs));
    }
    lock.unlock();
    helper.join();
    out = shared->result;
    return {};
}

UniqueFd open_tcp_socket() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.valid()) set_low_latency(fd.get());
    return fd;
}

IoStatus connect_socket(int fd, const sockaddr_in& address, int timeout_ms,
                        const CancelToken& token) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return {};
    if (errno != EINPROGRESS) return {IoResult::kError, errno};
    const IoStatus waited = wait_for(fd, POLLOUT, timeout_ms, token);
    if (waited.result == IoResult::kTimeout) return {IoResult::kTimeout, ETIMEDOUT};
    if (!waited.ok()) return waited;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) return {IoResult::kError, error};
    return {};
}

IoStatus send_all(int fd, ByteView data, int timeout_ms, const CancelToken& token) {
    const Clock::time_point deadline = deadline_after(timeout_ms);
    std::size_t done = 0;
    while (done < data.size()) {
        if (token.cancelled()) return {IoResult::kCancelled, 0};
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const IoStatus waited = wait_for(fd, POLLOUT, remaining_ms(deadline), token);
            if (!waited.ok()) return waited;
            continue;
        }
        return error_status(n < 0 ? errno : EPIPE);
    }
    return {};
}

IoStatus receive_exactly(int fd, Bytes& out, std::size_t want, int timeout_ms,
                         const CancelToken& token) {
    const Clock::time_point deadline = deadline_after(timeout_ms);
    while (out.size() < want) {
        // A reply is rarely there the moment its message left: wait first.
        const IoStatus waited = wait_for(fd, POLLIN, remaining_ms(deadline), token);
        if (!waited.ok()) return waited;
        std::uint8_t buffer[256];
        const std::size_t room = std::min(sizeof buffer, want - out.size());
        const ssize_t n = ::recv(fd, buffer, room, 0);
        if (n > 0) {
            out.insert(out.end(), buffer, buffer + n);
            continue;
        }
        if (n == 0) return {IoResult::kClosed, 0};
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return error_status(errno);
    }
    return {};
}

IoStatus discard_pending(int fd) {
    for (;;) {
        std::uint8_t buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) continue;
        if (n == 0) return {IoResult::kClosed, 0};
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return {};
        return error_status(errno);
    }
}

void set_low_latency(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

}  // namespace kvd::upload
