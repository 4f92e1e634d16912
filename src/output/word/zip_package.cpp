#include "output/word/zip_package.h"

#include <zip.h>

#include <ctime>
#include <memory>

#include "base/format.h"

namespace kvd::word {
namespace {

// 2000-01-01 00:00 UTC: a fixed time for every entry (zip stores local DOS
// times; any fixed value keeps the output reproducible).
constexpr std::time_t kEntryTime = 946684800;

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePointer = std::unique_ptr<zip_source_t, SourceFree>;

Status failure(const char* what, zip_error_t* error) {
    return Status::failure(strprintf("无法生成压缩包（%s：%s）", what, zip_error_strerror(error)));
}

}  // namespace

Status zip_entries(const std::vector<ZipEntry>& entries, Bytes& archive) {
    zip_error_t error;
    zip_error_init(&error);
    SourcePointer buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) return failure("创建", &error);
    zip_t* zip = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    if (!zip) return failure("创建", &error);
    // The archive is read back from the buffer after zip_close, which would
    // otherwise free it.
    zip_source_keep(buffer.get());

    for (const ZipEntry& entry : entries) {
        zip_source_t* data = zip_source_buffer(zip, entry.data.data(), entry.data.size(), 0);
        const zip_int64_t index =
            data ? zip_file_add(zip, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data) zip_source_free(data);
            Status status = failure("添加", zip_get_error(zip));
            zip_discard(zip);
            return status;
        }
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(zip, static_cast<zip_uint64_t>(index), kEntryTime, 0);
    }
    if (zip_close(zip) != 0) {
        Status status = failure("压缩", zip_get_error(zip));
        zip_discard(zip);
        return status;
    }

    zip_stat_t stat;
    if (zip_source_stat(buffer.get(), &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        zip_source_open(buffer.get()) != 0) {
        return failure("读取", zip_source_error(buffer.get()));
    }
    archive.resize(static_cast<std::size_t>(stat.size));
    const zip_int64_t read = zip_source_read(buffer.get(), archive.data(), stat.size);
    zip_source_close(buffer.get());
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        return failure("读取", zip_source_error(buffer.get()));
    }
    return Status::success();
}

}  // namespace kvd::word
