// kvdtool's upload commands: upload (the dialog's worker without windows) and
// station (the station simulator on 127.0.0.1, for trying an upload by hand).

#include <csignal>
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/console_user_interface.h"
#include "doc/lbx_doc.h"
#include "output/upload/station_simulator.h"
#include "output/upload/upload_progress.h"
#include "output/upload/upload_worker.h"

namespace kvd::cli {
namespace {

using upload::CancelToken;

constexpr char kUploadUsage[] = "用法: kvdtool upload FILE --host HOST --port PORT";
constexpr char kStationUsage[] =
    "用法: kvdtool station [--port P] [--seconds S] [--drop N] [--garble N] [--wrong-echo N]\n"
    "                      [--zero-id N] [--delay N:MS] [--close-at N] [--reset-at N]\n"
    "                      [--close-after N]";
constexpr int kDefaultStationSeconds = 600;

// The token an interrupt (Ctrl+C) or a termination request cancels; the
// handler may only touch what is async-signal-safe.
CancelToken* interrupt_target = nullptr;

extern "C" void cancel_on_signal(int) {
    if (interrupt_target) interrupt_target->cancel();
}

// Cancels the token on SIGINT and SIGTERM while it lives.
class InterruptScope {
public:
    explicit InterruptScope(CancelToken& token) {
        interrupt_target = &token;
        previous_int_ = std::signal(SIGINT, cancel_on_signal);
        previous_term_ = std::signal(SIGTERM, cancel_on_signal);
    }
    ~InterruptScope() {
        std::signal(SIGINT, previous_int_);
        std::signal(SIGTERM, previous_term_);
        interrupt_target = nullptr;
    }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    void (*previous_int_)(int) = SIG_DFL;
    void (*previous_term_)(int) = SIG_DFL;
};

class ConsoleObserver : public upload::UploadObserver {
public:
    explicit ConsoleObserver(int total) : total_(total) {}
    void on_status(const std::string& text) override {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
    void on_progress(std::uint32_t, int uploaded) override {
        std::printf("已上传数据个数：%d/%d\n", uploaded, total_);
        std::fflush(stdout);
    }

private:
    int total_;
};

bool parse_port(const std::string& text, std::uint16_t& port) {
    long long value = 0;
    if (!parse_int(text, value) || value < 0 || value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

// "--drop N" and the like: a fault on record N (0: the verification message).
bool take_fault(Args& args, const std::string& option, upload::StationFault fault,
                upload::StationSimulator& station) {
    std::string value;
    while (take_option(args, option, value)) {
        long long record = 0;
        long long delay = 0;
        std::string number = value;
        if (fault == upload::StationFault::kDelay) {
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos || !parse_int(value.substr(colon + 1), delay) ||
                delay < 0 || delay > 600000) {
                return false;
            }
            number = value.substr(0, colon);
        }
        if (!parse_int(number, record) || record < 0 || record > 65535) return false;
        upload::FaultRule rule;
        rule.fault = fault;
        rule.type = record == 0 ? upload::MessageType::kVerification : upload::MessageType::kRecord;
        rule.record = record == 0 ? -1 : static_cast<int>(record);
        rule.delay_ms = static_cast<int>(delay);
        station.add_fault(rule);
    }
    return true;
}

}  // namespace

int run_upload(const Args& arguments) {
    Args args = arguments;
    std::string host;
    std::string port_text;
    std::uint16_t port = 0;
    if (!take_option(args, "--host", host) || !take_option(args, "--port", port_text) ||
        !parse_port(port_text, port) || args.size() != 1) {
        return usage_error(kUploadUsage);
    }
    ConsoleUserInterface ui;
    CLbxDoc doc(ui);
    if (!doc.open(args[0])) return 1;
    if (!doc.upload_enabled()) {
        std::fprintf(stderr, "%s\n", upload::kMessageNotUploadable);
        return 1;
    }

    upload::UploadOptions options;
    sockaddr_in unused{};
    options.target.address = host;
    options.target.host_name = !upload::parse_ipv4(host, port, unused);
    options.target.port = port;
    const upload::UploadSource source = upload::UploadSource::from_record(doc.record());
    std::printf("原始数据个数：%zu\n", source.readings.size());

    CancelToken token;
    InterruptScope interrupts(token);
    ConsoleObserver observer(static_cast<int>(source.readings.size()));
    const upload::UploadOutcome outcome = upload::run_upload(source, options, observer, token);
    if (outcome.result == upload::UploadResult::kComplete) return 0;
    std::fprintf(stderr, "%s\n", outcome.status.c_str());
    return 1;
}

int run_station(const Args& arguments) {
    Args args = arguments;
    upload::StationSimulator station;
    std::string value;
    std::uint16_t port = upload::kDefaultPort;
    long long seconds = kDefaultStationSeconds;
    if (take_option(args, "--port", value) && !parse_port(value, port)) {
        return usage_error(kStationUsage);
    }
    if (take_option(args, "--seconds", value) &&
        (!parse_int(value, seconds) || seconds < 1 || seconds > 86400)) {
        return usage_error(kStationUsage);
    }
    using upload::StationFault;
    const bool faults_ok =
        take_fault(args, "--drop", StationFault::kDrop, station) &&
        take_fault(args, "--garble", StationFault::kGarble, station) &&
        take_fault(args, "--wrong-echo", StationFault::kWrongEcho, station) &&
        take_fault(args, "--zero-id", StationFault::kZeroIdentifier, station) &&
        take_fault(args, "--delay", StationFault::kDelay, station) &&
        take_fault(args, "--close-at", StationFault::kClose, station) &&
        take_fault(args, "--reset-at", StationFault::kReset, station) &&
        take_fault(args, "--close-after", StationFault::kCloseAfterReply, station);
    if (!faults_ok || !args.empty()) return usage_error(kStationUsage);

    station.set_log([](const upload::ReceivedMessage& m) {
        std::printf("连接 %d\t类型 %d\t记录 %d\t试验编号 %u\t%s\n", m.connection,
                    static_cast<int>(m.type), m.record, m.identifier,
                    !m.problem.empty() ? m.problem.c_str()
                    : m.acknowledged   ? "已应答"
                                       : "未正确应答");
        std::fflush(stdout);
    });
    if (Status started = station.start(port); !started.ok()) {
        std::fprintf(stderr, "%s\n", started.message().c_str());
        return 1;
    }
    std::printf("模拟质检站在 127.0.0.1:%u 上监听（%lld 秒后或按 Ctrl+C 结束）\n",
                static_cast<unsigned>(station.port()), seconds);
    std::fflush(stdout);
    CancelToken token;
    InterruptScope interrupts(token);
    upload::pause_unless_cancelled(static_cast<int>(seconds * 1000), token);
    station.stop();
    return 0;
}

}  // namespace kvd::cli
