#pragma once

// The fixed buffer sizes every part of the program shares.
namespace hiscores {

// The records joined into one NUL-terminated text, each followed by a line feed.
inline constexpr int kHiscoreTextSize = 10000;
inline constexpr int kPathSize = 260;
// One formatted message or title.
inline constexpr int kMessageBufferSize = 4096;

} // namespace hiscores
