#pragma once
// StationSimulator: a stand-in for the inspection station's server, for the
// tests, the benchmark and `kvdtool station`. It listens on 127.0.0.1 only,
// serves one connection at a time on its own thread, checks every message it
// receives (framing, CRC, lengths, the record header's fields, identifiers it
// gave out) and answers as a station would: a new test identifier for each
// verification message, the message's identifier and sequence value for the
// others. Fault rules make it misbehave on chosen messages.
//
// It keeps a log of what it received and which records it acknowledged, so
// that a test can see that no record was skipped and none acknowledged twice.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/byte_image.h"
#include "base/status.h"
#include "output/upload/socket_io.h"
#include "output/upload/station_parser.h"
#include "output/upload/upload_protocol.h"

namespace kvd::upload {

enum class StationFault {
    kDrop,             // no reply
    kGarble,           // a reply whose check word is wrong
    kDelay,            // the reply after delay_ms
    kWrongEcho,        // the reply echoes another sequence value
    kZeroIdentifier,   // the reply names identifier 0
    kSplit,            // the reply in two parts, a short pause between them
    kClose,            // closes the connection instead of replying
    kReset,            // resets the connection instead of replying
    kCloseAfterReply,  // replies, then closes the connection
};

struct FaultRule {
    StationFault fault = StationFault::kDrop;
    MessageType type = MessageType::kRecord;
    int record = -1;   // record number (index + 1) of a type 2 message; -1 any
    int times = 1;     // matching messages it applies to; -1 every one
    int delay_ms = 0;  // kDelay
};

struct ReceivedMessage {
    int connection = 0;  // 1 for the first connection accepted
    MessageType type = MessageType::kRecord;
    int record = 0;                // record number of a type 2 message
    std::uint32_t identifier = 0;  // named by types 2 and 5, given out for type 1
    std::string problem;           // what was wrong with it; empty when nothing
    bool acknowledged = false;     // a correct reply went out
    Bytes payload;
};

class StationSimulator {
public:
    StationSimulator() = default;
    ~StationSimulator();
    StationSimulator(const StationSimulator&) = delete;
    StationSimulator& operator=(const StationSimulator&) = delete;

    // Listens on 127.0.0.1:port (0: a free port) and starts serving.
    Status start(std::uint16_t port = 0);
    void stop();
    std::uint16_t port() const { return port_; }

    // Identifiers are given out from this one on (default 1001).
    void set_first_identifier(std::uint32_t identifier);
    // A test this station gave its identifier to before (a resumed upload).
    void add_known_identifier(std::uint32_t identifier);
    void add_fault(const FaultRule& rule);
    void clear_faults();
    // Called on the simulator's thread for each message received.
    void set_log(std::function<void(const ReceivedMessage&)> log);

    std::vector<ReceivedMessage> received() const;
    int connections() const;
    // Record numbers acknowledged for a test identifier, in the order the
    // acknowledgements went out.
    std::vector<int> acknowledged_records(std::uint32_t identifier) const;
    // End messages acknowledged for a test identifier.
    int acknowledged_ends(std::uint32_t identifier) const;
    // Problems found in received messages or in the byte stream.
    std::vector<std::string> problems() const;

private:
    struct Answer;
    void serve();
    void serve_connection(UniqueFd connection, int number);
    Answer answer(const StationMessage& message, int connection);
    bool take_fault(const ReceivedMessage& received, FaultRule& rule);

    UniqueFd listener_;
    std::uint16_t port_ = 0;
    CancelToken stop_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::vector<FaultRule> faults_;
    std::vector<ReceivedMessage> received_;
    std::vector<std::string> problems_;
    std::map<std::uint32_t, std::vector<int>> acknowledged_;
    std::map<std::uint32_t, int> ends_;
    std::vector<std::uint32_t> given_out_;
    std::uint32_t next_identifier_ = 1001;
    int connections_ = 0;
    std::function<void(const ReceivedMessage&)> log_;
};

}  // namespace kvd::upload
