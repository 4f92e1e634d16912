#include "output/upload/upload_worker.h"

#include "base/format.h"
#include "output/upload/upload_messages.h"
#include "output/upload/upload_progress.h"
#include "output/upload/upload_protocol.h"

namespace kvd::upload {
namespace {

// One message to the station and what its reply must echo.
struct Message {
    Bytes bytes;
    std::uint16_t sequence = 0;
    std::string label;
};

class Run {
public:
    Run(const UploadSource& source, const UploadOptions& options, UploadObserver& observer,
        const CancelToken& token)
        : source_(source), options_(options), observer_(observer), token_(token) {
        outcome_.total = static_cast<int>(source.readings.size());
    }

    UploadOutcome go();

private:
    bool read_progress();
    bool connect();
    bool send_verification();
    bool send_record();
    void send_end();
    // Sends the message until an accepted reply, the bound on sends, a lost
    // connection or a cancel; false for all but the first (stop_ is set).
    bool exchange(const Message& message, Reply& reply);
    bool fail_io(const Message& message, const IoStatus& status);
    void status(const std::string& text) {
        outcome_.status = text;
        observer_.on_status(text);
    }
    void stop(const std::string& text) {
        outcome_.result = UploadResult::kStopped;
        status(text);
    }
    bool cancelled() {
        if (!token_.cancelled()) return false;
        outcome_.result = UploadResult::kCancelled;
        outcome_.status = kStatusCancelled;
        return true;
    }

    const UploadSource& source_;
    const UploadOptions& options_;
    UploadObserver& observer_;
    const CancelToken& token_;
    TestFileProgress progress_;
    UniqueFd socket_;
    UploadOutcome outcome_;
    bool late_replies_possible_ = false;
};

UploadOutcome Run::go() {
    if (!read_progress() || cancelled()) return outcome_;
    if (!connect()) return outcome_;
    while (outcome_.uploaded < outcome_.total) {
        if (cancelled()) return outcome_;
        const bool sent = outcome_.identifier == 0 ? send_verification() : send_record();
        if (!sent) return outcome_;
    }
    if (!cancelled()) send_end();
    return outcome_;
}

bool Run::read_progress() {
    if (Status opened = TestFileProgress::open(source_.path, source_.readings, progress_);
        !opened.ok()) {
        stop(opened.message());
        return false;
    }
    const StoredProgress& stored = progress_.stored();
    outcome_.identifier = stored.identifier;
    outcome_.uploaded = stored.uploaded;
    observer_.on_progress(stored.identifier, stored.uploaded);
    if (!stored.notice.empty()) status(stored.notice);
    return true;
}

bool Run::connect() {
    const UploadTarget& target = options_.target;
    status(kStatusConnecting);
    socket_ = open_tcp_socket();
    if (!socket_.valid()) {
        stop(kStatusNoSocket);
        return false;
    }
    if (target.address.empty()) {
        stop(kStatusNoAddress);
        return false;
    }
    sockaddr_in address{};
    if (target.host_name) {
        ResolveResult resolved;
        const IoStatus waited =
            resolve_cancellable(options_.resolver, target.address, target.port, token_, resolved);
        if (!waited.ok()) return !cancelled();
        if (resolved.error != 0) {
            stop(strprintf("域名解析出错，错误代码：%d", resolved.error));
            return false;
        }
        address = resolved.address;
    } else if (!parse_ipv4(target.address, target.port, address)) {
        stop(strprintf("“%s”不是有效的IP地址，请检查服务器地址。", target.address.c_str()));
        return false;
    }
    const IoStatus connected =
        connect_socket(socket_.get(), address, options_.timings.connect_ms, token_);
    if (connected.result == IoResult::kCancelled) return !cancelled();
    if (!connected.ok()) {
        stop(strprintf("连接服务器出错，错误代码：%d", connected.error));
        return false;
    }
    outcome_.connected = true;
    return true;
}

bool Run::send_verification() {
    Message message{frame_message(MessageType::kVerification, verification_payload(source_.header)),
                    kVerificationSequence, kVerificationLabel};
    Reply reply;
    if (!exchange(message, reply)) return false;
    // The identifier is the station's: it is stored before any record names it.
    if (Status stored = progress_.store_identifier(reply.identifier); !stored.ok()) {
        stop(stored.message() + "，上传已停止。");
        return false;
    }
    outcome_.identifier = reply.identifier;
    outcome_.uploaded = 0;
    observer_.on_progress(outcome_.identifier, outcome_.uploaded);
    return true;
}

bool Run::send_record() {
    const int index = outcome_.uploaded;
    const RawReading& reading = source_.readings[static_cast<std::size_t>(index)];
    Message message{frame_message(MessageType::kRecord, record_payload(source_.header, reading,
                                                                       index, outcome_.identifier)),
                    record_sequence(index), record_label(reading)};
    Reply reply;
    if (!exchange(message, reply)) return false;
    if (Status stored = progress_.store_uploaded(index + 1); !stored.ok()) {
        stop(stored.message() + "，上传已停止。");
        return false;
    }
    outcome_.uploaded = index + 1;
    observer_.on_progress(outcome_.identifier, outcome_.uploaded);
    return true;
}

void Run::send_end() {
    const Message message{
        frame_message(MessageType::kEnd, end_payload(source_.header, outcome_.identifier)),
        kEndSequence, kEndLabel};
    status(message.label + kSendingSuffix);
    IoStatus io = late_replies_possible_ ? discard_pending(socket_.get()) : IoStatus{};
    if (io.ok()) io = send_all(socket_.get(), message.bytes, options_.timings.receive_ms, token_);
    Bytes answer;
    if (io.ok()) {
        io = receive_exactly(socket_.get(), answer, kReplySize,
                             options_.timings.end_wait_ms + options_.timings.receive_ms, token_);
    }
    if (io.result == IoResult::kCancelled) {
        cancelled();
        return;
    }
    const ReplyCheck check = check_reply(answer, message.sequence);
    if (check.accepted()) {
        outcome_.result = UploadResult::kComplete;
        status(kStatusComplete);
        return;
    }
    const char* why = io.result == IoResult::kClosed ? "服务器已断开连接" : describe(check.problem);
    stop(strprintf("全部数据已发送，但服务器未确认结束信息（%s）。", why));
}

bool Run::exchange(const Message& message, Reply& reply) {
    const UploadTimings& timings = options_.timings;
    status(message.label + kSendingSuffix);
    ReplyProblem last = ReplyProblem::kShort;
    for (int send = 1; send <= timings.max_sends; ++send) {
        // Once a message was sent again, its first reply may still come:
        // bytes waiting now answer an earlier send and would be taken for
        // this message's reply.
        IoStatus io = late_replies_possible_ ? discard_pending(socket_.get()) : IoStatus{};
        if (io.ok()) io = send_all(socket_.get(), message.bytes, timings.receive_ms, token_);
        Bytes answer;
        if (io.ok())
            io = receive_exactly(socket_.get(), answer, kReplySize, timings.receive_ms, token_);
        if (io.result != IoResult::kOk && io.result != IoResult::kTimeout) {
            return fail_io(message, io);
        }
        const ReplyCheck check = check_reply(answer, message.sequence);
        if (check.accepted()) {
            reply = check.reply;
            status(message.label + kSentSuffix);
            return true;
        }
        last = check.problem;
        late_replies_possible_ = true;
        if (send == timings.max_sends) break;
        status(strprintf("%s %s，正在重新发送（第 %d 次）", message.label.c_str(), describe(last),
                         send + 1));
        if (!pause_unless_cancelled(timings.resend_wait_ms, token_)) {
            cancelled();
            return false;
        }
    }
    stop(strprintf("%s 发送失败：服务器连续 %d 次%s，上传已停止。", message.label.c_str(),
                   timings.max_sends, describe(last)));
    return false;
}

bool Run::fail_io(const Message& message, const IoStatus& io) {
    if (io.result == IoResult::kCancelled) {
        cancelled();
    } else if (io.result == IoResult::kClosed) {
        stop(strprintf("%s 发送失败：服务器已断开连接，上传已停止。", message.label.c_str()));
    } else {
        stop(strprintf("%s 发送失败：网络错误，错误代码：%d，上传已停止。", message.label.c_str(),
                       io.error));
    }
    return false;
}

}  // namespace

UploadSource UploadSource::from_record(const TestRecord& record) {
    UploadSource source;
    source.path = record.file_path;
    source.header = record.header;
    source.readings = record.raw_readings;
    return source;
}

UploadOutcome run_upload(const UploadSource& source, const UploadOptions& options,
                         UploadObserver& observer, const CancelToken& token) {
    return Run(source, options, observer, token).go();
}

}  // namespace kvd::upload
