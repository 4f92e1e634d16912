#include "record/engineer_choice.h"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "base/text_codec.h"

namespace kvd {
namespace {

std::uint32_t block_crc(const ChoiceBlock& block) {
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(&block),
                            static_cast<uInt>(offsetof(ChoiceBlock, crc)));
    return static_cast<std::uint32_t>(crc);
}

}  // namespace

Bytes encode_choice(const EngineerChoice& choice) {
    ChoiceBlock block{};
    std::memcpy(block.tag, kChoiceTag, sizeof block.tag);
    block.version = kChoiceVersion;
    block.size = static_cast<std::uint16_t>(kChoiceBlockSize);
    block.rule = choice.rule;
    block.flags = choice.at_least ? kChoiceAtLeast : 0;
    block.fingerprint = choice.data_fingerprint;
    block.value = choice.value;
    block.chosen_at = choice.chosen_at;
    write_gbk_field(block.note, choice.note);
    block.crc = block_crc(block);
    Bytes bytes(kChoiceBlockSize);
    std::memcpy(bytes.data(), &block, sizeof block);
    return bytes;
}

Status decode_choice(ByteView bytes, EngineerChoice& choice) {
    ChoiceBlock block;
    if (bytes.size() != kChoiceBlockSize || !load_at(bytes, 0, block) ||
        std::memcmp(block.tag, kChoiceTag, sizeof block.tag) != 0 ||
        block.version != kChoiceVersion || block.size != kChoiceBlockSize ||
        block.crc != block_crc(block) || !std::isfinite(block.value)) {
        return Status::failure(kMessageChoiceDamaged);
    }
    EngineerChoice decoded;
    decoded.rule = block.rule;
    decoded.value = block.value;
    decoded.at_least = (block.flags & kChoiceAtLeast) != 0;
    decoded.data_fingerprint = block.fingerprint;
    decoded.chosen_at = block.chosen_at;
    decoded.note = read_gbk_field(block.note);
    choice = std::move(decoded);
    return Status::success();
}

std::optional<EngineerChoice> trailing_choice(ByteView file) {
    if (file.size() < kChoiceBlockSize) return std::nullopt;
    EngineerChoice choice;
    if (!decode_choice(file.last(kChoiceBlockSize), choice).ok()) return std::nullopt;
    return choice;
}

}  // namespace kvd
