#pragma once

#include "hiscores/collect/hiscore_text.h"

namespace hiscores {

// Joins the records of every game below the product key into text, in registry
// enumeration order and record number order; returns how many records it holds.
int CollectHiscores(char (&text)[kHiscoreTextSize]);

} // namespace hiscores
