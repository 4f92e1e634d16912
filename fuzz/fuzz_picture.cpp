// Fuzzes the picture reader of the word object model (the metafiles it
// embeds): any bytes are refused or give a picture of a positive size that
// holds exactly the bytes it was given.

#include <cstdint>
#include <cstdlib>

#include "output/word/picture_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kvd::Bytes bytes(data, data + size);
    const std::optional<kvd::word::content::Picture> picture = kvd::word::read_picture(bytes);
    if (picture) {
        if (picture->width_emu <= 0 || picture->height_emu <= 0) std::abort();
        if (picture->data != bytes) std::abort();
    }
    return 0;
}
