#pragma once
// The picture files the word object model embeds, and their natural size.
// Only Windows metafiles are taken: a placeable metafile gives its size in
// its header; a plain one (no placeable header, as the curve export writes)
// carries no physical size, so its window extent is taken in tenths of a
// millimetre, the logical unit such pictures are drawn in.

#include <optional>

#include "base/byte_image.h"
#include "output/word/word_document.h"

namespace kvd::word {

// The picture with its size and content type; nothing for a file that is not
// a metafile of a size (no window extent, a zero or negative size, damaged).
std::optional<content::Picture> read_picture(Bytes data);

}  // namespace kvd::word
