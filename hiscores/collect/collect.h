#pragma once

#include "hiscores/common/sizes.h"

namespace hiscores {

// The largest record read, its terminator included.
inline constexpr int kRecordSize = 10000;

// The game keys' names in enumeration order; the collection's only heap memory.
struct GameKeyList {
    char** names = nullptr;
    int count = 0;
    int capacity = 0;
};

void FreeGameKeyList(GameKeyList& list);

// Replaces the list's contents with the product key's subkey names. When the product
// key cannot be opened the list stays as it was.
void ListGameKeys(GameKeyList& list);

// Where the collection goes on: a game of the list and one of its record numbers.
struct RecordCursor {
    int game = 0;
    int number = 1;
};

// Fills text with the whole records from the cursor on, in list order and record number
// order, each followed by a line feed, as many as fit, and moves the cursor past them. A
// record too long to fit even alone is passed over and counted in *skipped. Returns the
// number of records in the text, 0 only when no record is left.
int CollectBatch(const GameKeyList& games, RecordCursor& cursor, char (&text)[kHiscoreTextSize],
                 int* skipped);

// Joins the records of every game into text, as many as fit, and returns their number;
// *leftOut receives the number of records that are not in the text.
int CollectHiscores(char (&text)[kHiscoreTextSize], int* leftOut);

} // namespace hiscores
