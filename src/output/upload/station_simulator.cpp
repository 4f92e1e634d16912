#include "output/upload/station_simulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "base/format.h"
#include "output/upload/station_parser.h"

namespace kvd::upload {
namespace {

constexpr int kPollSliceMs = 1000;  // how long one wait lasts; a stop ends it at once
constexpr int kSendTimeoutMs = 2000;
constexpr int kSplitPauseMs = 20;
constexpr std::size_t kSplitAt = 7;
constexpr std::size_t kCheckWordAt = 10;

bool closes_without_reply(StationFault fault) {
    return fault == StationFault::kClose || fault == StationFault::kReset;
}

}  // namespace

struct StationSimulator::Answer {
    Bytes reply;  // empty: none
    bool correct = false;
    bool close_before = false;
    bool reset = false;
    bool close_after = false;
    int delay_ms = 0;
    bool split = false;
};

StationSimulator::~StationSimulator() {
    stop();
}

Status StationSimulator::start(std::uint16_t port) {
    if (thread_.joinable()) return Status::failure("模拟质检站已在运行");
    UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener.valid()) return Status::failure(strprintf("无法建立套接字，错误代码：%d", errno));
    const int on = 1;
    ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never any other interface
    if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.get(), 4) != 0) {
        return Status::failure(strprintf("无法在 127.0.0.1:%u 上监听，错误代码：%d",
                                         static_cast<unsigned>(port), errno));
    }
    socklen_t length = sizeof address;
    ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listener_ = std::move(listener);
    thread_ = std::thread([this] { serve(); });
    return Status::success();
}

void StationSimulator::stop() {
    stop_.cancel();
    if (thread_.joinable()) thread_.join();
    listener_.reset();
}

void StationSimulator::set_first_identifier(std::uint32_t identifier) {
    std::lock_guard lock(mutex_);
    next_identifier_ = identifier;
}

void StationSimulator::add_known_identifier(std::uint32_t identifier) {
    std::lock_guard lock(mutex_);
    given_out_.push_back(identifier);
}

void StationSimulator::add_fault(const FaultRule& rule) {
    std::lock_guard lock(mutex_);
    faults_.push_back(rule);
}

void StationSimulator::clear_faults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void StationSimulator::set_log(std::function<void(const ReceivedMessage&)> log) {
    std::lock_guard lock(mutex_);
    log_ = std::move(log);
}

std::vector<ReceivedMessage> StationSimulator::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int StationSimulator::connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

std::vector<int> StationSimulator::acknowledged_records(std::uint32_t identifier) const {
    std::lock_guard lock(mutex_);
    auto it = acknowledged_.find(identifier);
    return it == acknowledged_.end() ? std::vector<int>{} : it->second;
}

int StationSimulator::acknowledged_ends(std::uint32_t identifier) const {
    std::lock_guard lock(mutex_);
    auto it = ends_.find(identifier);
    return it == ends_.end() ? 0 : it->second;
}

std::vector<std::string> StationSimulator::problems() const {
    std::lock_guard lock(mutex_);
    return problems_;
}

void StationSimulator::serve() {
    for (;;) {
        const IoStatus waited = wait_for(listener_.get(), POLLIN, kPollSliceMs, stop_);
        if (waited.result == IoResult::kCancelled) return;
        if (!waited.ok()) continue;
        UniqueFd connection(
            ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!connection.valid()) continue;
        set_low_latency(connection.get());
        int number = 0;
        {
            std::lock_guard lock(mutex_);
            number = ++connections_;
        }
        serve_connection(std::move(connection), number);
    }
}

void StationSimulator::serve_connection(UniqueFd connection, int number) {
    StationMessageParser parser;
    for (;;) {
        const IoStatus waited = wait_for(connection.get(), POLLIN, kPollSliceMs, stop_);
        if (waited.result == IoResult::kCancelled) return;
        if (waited.result == IoResult::kTimeout) continue;
        std::uint8_t buffer[4096];
        const ssize_t n = ::recv(connection.get(), buffer, sizeof buffer, 0);
        if (n == 0) return;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            return;
        }
        parser.feed(ByteView(buffer, static_cast<std::size_t>(n)));
        while (std::optional<StationMessage> message = parser.next()) {
            const Answer reply = answer(*message, number);
            if (reply.close_before) {
                if (reply.reset) {
                    const linger abort_now{1, 0};
                    ::setsockopt(connection.get(), SOL_SOCKET, SO_LINGER, &abort_now,
                                 sizeof abort_now);
                }
                return;
            }
            if (reply.delay_ms > 0 && !pause_unless_cancelled(reply.delay_ms, stop_)) return;
            if (!reply.reply.empty()) {
                const ByteView bytes(reply.reply);
                const std::size_t first = reply.split ? kSplitAt : bytes.size();
                if (!send_all(connection.get(), bytes.first(first), kSendTimeoutMs, stop_).ok())
                    return;
                if (reply.split) {
                    if (!pause_unless_cancelled(kSplitPauseMs, stop_)) return;
                    if (!send_all(connection.get(), bytes.subspan(first), kSendTimeoutMs, stop_)
                             .ok()) {
                        return;
                    }
                }
            }
            if (reply.close_after) return;
        }
        if (parser.broken()) {
            std::lock_guard lock(mutex_);
            problems_.push_back(parser.problem());
            return;
        }
    }
}

bool StationSimulator::take_fault(const ReceivedMessage& received, FaultRule& rule) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->type != received.type) continue;
        if (received.type == MessageType::kRecord && it->record >= 0 &&
            it->record != received.record) {
            continue;
        }
        rule = *it;
        if (it->times > 0 && --it->times == 0) faults_.erase(it);
        return true;
    }
    return false;
}

StationSimulator::Answer StationSimulator::answer(const StationMessage& message, int connection) {
    ReceivedMessage received;
    received.connection = connection;
    received.type = static_cast<MessageType>(message.header.type);
    received.payload = message.payload;
    received.problem = check_station_message(message);
    std::uint16_t echo = 0;

    Answer result;
    std::function<void(const ReceivedMessage&)> log;
    {
        std::lock_guard lock(mutex_);
        if (received.problem.empty()) {
            if (received.type == MessageType::kVerification) {
                received.identifier = next_identifier_++;
                given_out_.push_back(received.identifier);
            } else {
                received.identifier = named_identifier(message.payload);
                if (std::find(given_out_.begin(), given_out_.end(), received.identifier) ==
                    given_out_.end()) {
                    received.problem = strprintf("试验编号 %u 不是本站分配的", received.identifier);
                }
            }
            if (received.type == MessageType::kRecord) {
                const RecordFields fields = record_fields(message.payload);
                received.record = fields.number;
                echo = fields.sequence;
            }
        }
        if (!received.problem.empty()) {
            // A station ignores a message it cannot take.
            problems_.push_back(received.problem);
        } else {
            FaultRule rule;
            const bool faulty = take_fault(received, rule);
            std::uint32_t identifier = received.identifier;
            if (faulty && rule.fault == StationFault::kZeroIdentifier) identifier = 0;
            if (faulty && rule.fault == StationFault::kWrongEcho) ++echo;
            result.reply = build_reply(received.type, identifier, echo);
            if (faulty && rule.fault == StationFault::kGarble) result.reply[kCheckWordAt] ^= 0xFF;
            if (faulty && (rule.fault == StationFault::kDrop || closes_without_reply(rule.fault))) {
                result.reply.clear();
            }
            result.close_before = faulty && closes_without_reply(rule.fault);
            result.reset = faulty && rule.fault == StationFault::kReset;
            result.close_after = faulty && rule.fault == StationFault::kCloseAfterReply;
            result.delay_ms = faulty && rule.fault == StationFault::kDelay ? rule.delay_ms : 0;
            result.split = faulty && rule.fault == StationFault::kSplit;
            result.correct = !faulty || rule.fault == StationFault::kDelay ||
                             rule.fault == StationFault::kSplit ||
                             rule.fault == StationFault::kCloseAfterReply;
            received.acknowledged = result.correct;
            if (result.correct && received.type == MessageType::kRecord) {
                acknowledged_[received.identifier].push_back(received.record);
            }
            if (result.correct && received.type == MessageType::kEnd) ++ends_[received.identifier];
        }
        received_.push_back(received);
        log = log_;
    }
    if (log) log(received);
    return result;
}

}  // namespace kvd::upload
