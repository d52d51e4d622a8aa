#pragma once

namespace hiscores {

// The records joined into one NUL-terminated text, each followed by a line feed.
inline constexpr int kHiscoreTextSize = 10000;

} // namespace hiscores
