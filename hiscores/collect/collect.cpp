#include "hiscores/collect/collect.h"

#include "formatting/format_text.h"
#include "hiscores/collect/registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hiscores {

namespace {

constexpr char kProductKeyPath[] = "Software\\Tumbra";
constexpr char kRecordValueFormat[] = "_rek_%d";
constexpr int kKeyPathSize = 1000;
constexpr int kKeyNameSize = 1000;
constexpr int kValueNameSize = 100;

bool AppendName(GameKeyList& list, const char* name) {
    if (list.count == list.capacity) {
        const int capacity = list.capacity == 0 ? 16 : list.capacity * 2;
        void* grown = realloc(list.names, sizeof(char*) * capacity);
        if (grown == nullptr)
            return false;
        list.names = static_cast<char**>(grown);
        list.capacity = capacity;
    }
    const size_t size = strlen(name) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy == nullptr)
        return false;
    memcpy(copy, name, size);
    list.names[list.count++] = copy;
    return true;
}

void EmptyGameKeyList(GameKeyList& list) {
    for (int i = 0; i < list.count; ++i)
        free(list.names[i]);
    list.count = 0;
}

// The product key itself (subkeyName nullptr) or one game's key, created when missing.
RegistryKey* OpenProductKey(const char* subkeyName) {
    if (subkeyName == nullptr)
        return OpenOrCreateKey(kProductKeyPath);
    char path[kKeyPathSize];
    const int length =
        formatting::FormatText(path, sizeof path, "%s\\%s", kProductKeyPath, subkeyName);
    if (length < 0 || length >= kKeyPathSize)
        return nullptr;
    return OpenOrCreateKey(path);
}

// What reading one record found. A record too large for the buffer is still a record:
// the game's later records follow it.
enum class RecordRead { kRead, kTooLarge, kMissing };

// Reads a REG_SZ value of a game key into data, NUL-terminated.
RecordRead ReadStringValue(const char* valueName, char (&data)[kRecordSize],
                           const char* subkeyName) {
    RegistryKey* key = OpenProductKey(subkeyName);
    if (key == nullptr)
        return RecordRead::kMissing;
    unsigned long size = sizeof data;
    unsigned long type = 0;
    const long status = QueryValue(key, valueName, &type, data, &size);
    CloseKey(key);
    if (type != kRegistryStringType)
        return RecordRead::kMissing;
    if (status == kRegistryMoreData)
        return RecordRead::kTooLarge;
    if (status != kRegistryOk)
        return RecordRead::kMissing;
    // A stored string need not end with its terminator; end it ourselves. One that fills
    // the buffer without one is too large.
    if (size < sizeof data)
        data[size] = '\0';
    else if (data[sizeof data - 1] != '\0')
        return RecordRead::kTooLarge;
    return RecordRead::kRead;
}

RecordRead ReadRecord(const GameKeyList& games, const RecordCursor& cursor,
                      char (&record)[kRecordSize]) {
    char valueName[kValueNameSize];
    formatting::FormatText(valueName, sizeof valueName, kRecordValueFormat, cursor.number);
    return ReadStringValue(valueName, record, games.names[cursor.game]);
}

void MoveToNextGame(RecordCursor& cursor) {
    ++cursor.game;
    cursor.number = 1;
}

// The records from the cursor on.
int CountRecords(const GameKeyList& games, RecordCursor cursor) {
    int count = 0;
    char record[kRecordSize];
    while (cursor.game < games.count) {
        if (ReadRecord(games, cursor, record) != RecordRead::kMissing) {
            ++count;
            ++cursor.number;
        } else {
            MoveToNextGame(cursor);
        }
    }
    return count;
}

} // namespace

void FreeGameKeyList(GameKeyList& list) {
    EmptyGameKeyList(list);
    free(list.names);
    list = GameKeyList{};
}

void ListGameKeys(GameKeyList& list) {
    RegistryKey* root = OpenProductKey(nullptr);
    if (root == nullptr)
        return;
    EmptyGameKeyList(list);
    char name[kKeyNameSize];
    for (unsigned long index = 0;; ++index) {
        unsigned long nameSize = sizeof name;
        const long status = EnumerateSubkey(root, index, name, &nameSize);
        if (status == kRegistryOk) {
            if (!AppendName(list, name))
                break;
        } else if (status != kRegistryMoreData) {
            // Only a name too long for the buffer concerns that one entry; any other
            // error (the key deleted, the handle gone bad) would repeat for ever.
            break;
        }
    }
    CloseKey(root);
}

int CollectBatch(const GameKeyList& games, RecordCursor& cursor, char (&text)[kHiscoreTextSize],
                 int* skipped) {
    text[0] = '\0';
    size_t textLength = 0;
    int count = 0;
    char record[kRecordSize];
    while (cursor.game < games.count) {
        const RecordRead read = ReadRecord(games, cursor, record);
        if (read == RecordRead::kMissing) {
            MoveToNextGame(cursor);
            continue;
        }
        const size_t recordLength = read == RecordRead::kRead ? strlen(record) : sizeof text;
        if (recordLength + 1 >= sizeof text) {
            ++*skipped;
        } else if (textLength + recordLength + 1 >= sizeof text) {
            break;
        } else {
            memcpy(text + textLength, record, recordLength);
            textLength += recordLength;
            text[textLength++] = '\n';
            text[textLength] = '\0';
            ++count;
        }
        ++cursor.number;
    }
    return count;
}

int CollectHiscores(char (&text)[kHiscoreTextSize], int* leftOut) {
    GameKeyList games;
    ListGameKeys(games);
    RecordCursor cursor;
    int skipped = 0;
    const int count = CollectBatch(games, cursor, text, &skipped);
    *leftOut = skipped + CountRecords(games, cursor);
    FreeGameKeyList(games);
    return count;
}

} // namespace hiscores
