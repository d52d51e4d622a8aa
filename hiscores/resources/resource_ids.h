#pragma once

// Identifiers shared by the resource script and the code; plain macros, because the
// resource compiler reads this file too.

#define HISCORES_DIALOG 101
#define HISCORES_ICON 102
#define HISCORES_ACCELERATORS 4

// Controls of the dialog.
#define ID_SEND_LOCAL_BUTTON 1003
#define ID_SAVE_TO_FLOPPY_BUTTON 1001
#define ID_SEND_FROM_FLOPPY_BUTTON 1002
#define ID_EXIT_BUTTON 1004
#define ID_HISCORE_PAGE_LINK 1005

// Commands of the accelerator keys.
#define ID_SAVE_TO_FLOPPY_KEY 40002
#define ID_SEND_LOCAL_KEY 40003
#define ID_SEND_FROM_FLOPPY_KEY 40004
#define ID_EXIT_KEY 40005
