/* An NSIS stack entry as the installer lays it out, for the plug-in, its tests and the
   bench (which is C): the pointer to the entry below, then at once the text, in the
   installer's character width. */
#pragma once

#ifdef __cplusplus
namespace nsistumbra {
#endif

typedef struct StackEntry {
    struct StackEntry* next;
} StackEntry;

/* NSIS allocates an entry as the bytes of string size characters plus this many,
   whatever the pointer size. */
enum { kStackEntryHeaderBytes = 8 };

#ifdef __cplusplus
} /* namespace nsistumbra */
#endif
