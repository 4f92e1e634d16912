#pragma once
// run_upload: sends the raw readings of a test file to the inspection
// station and records in the file what the station acknowledged.
//
//   read the progress from the file on disk (identifier, records acknowledged)
//   socket -> resolve (host name) or parse (IPv4 address) -> connect
//   no identifier yet:  type 1 verification -> store the station's identifier
//   each record left:   type 2 record       -> store the count acknowledged
//   type 5 end -> "全部数据已上传成功"
//
// Each message waits up to receive_ms for its 18-byte reply; a missing or
// refused reply is answered by a resend after resend_wait_ms, at most
// max_sends sends in all, and then the run stops and says why. A connection
// the station closes or resets ends the run at once. A cancel ends any wait
// at once. The run is synchronous: the dialog runs it on its own thread,
// kvdtool on the main one; it touches nothing but its UploadSource copy, the
// file's progress bytes and the observer.

#include <cstdint>
#include <string>
#include <vector>

#include "output/upload/socket_io.h"
#include "record/raw_reading.h"
#include "record/test_header.h"
#include "record/test_record.h"

namespace kvd::upload {

inline constexpr std::uint16_t kDefaultPort = 14006;

struct UploadTarget {
    std::string address;
    bool host_name = true;  // "域名"; false: a dotted IPv4 address ("IP地址")
    std::uint16_t port = kDefaultPort;
};

struct UploadTimings {
    int connect_ms = 6000;
    int receive_ms = 6000;
    int resend_wait_ms = 1500;
    int end_wait_ms = 1000;  // more time the end message's reply may take
    int max_sends = 5;       // sends of one message before the run stops
};

// What the worker reads, copied from the open record on the UI thread.
struct UploadSource {
    std::string path;
    TestHeader header{};
    std::vector<RawReading> readings;

    static UploadSource from_record(const TestRecord& record);
};

// Called on the worker's thread.
class UploadObserver {
public:
    virtual ~UploadObserver() = default;
    virtual void on_status(const std::string& text) = 0;
    // The progress as the file holds it: when the run has read it, after the
    // identifier was stored and after each acknowledged record.
    virtual void on_progress(std::uint32_t identifier, int uploaded) = 0;
};

enum class UploadResult {
    kComplete,  // every record acknowledged and the end message answered
    kStopped,   // a failure; status says which
    kCancelled,
};

struct UploadOutcome {
    UploadResult result = UploadResult::kStopped;
    std::string status;  // the last status text
    std::uint32_t identifier = 0;
    int uploaded = 0;
    int total = 0;
    bool connected = false;  // whether the station was reached
    bool records_remain() const { return uploaded < total; }
};

struct UploadOptions {
    UploadTarget target;
    UploadTimings timings;
    Resolver resolver = resolve_ipv4;
};

UploadOutcome run_upload(const UploadSource& source, const UploadOptions& options,
                         UploadObserver& observer, const CancelToken& token);

// Status texts.
inline constexpr char kStatusConnecting[] = "正在连接服务器...";
inline constexpr char kStatusComplete[] = "全部数据已上传成功";
inline constexpr char kStatusCancelled[] = "上传已取消";
inline constexpr char kStatusNoSocket[] = "初始化错误";
inline constexpr char kStatusNoAddress[] = "请输入服务器地址";
inline constexpr char kSendingSuffix[] = " 正在发送";
inline constexpr char kSentSuffix[] = " 发送成功";

}  // namespace kvd::upload
