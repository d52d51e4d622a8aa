#pragma once

// Every text the program shows: message boxes, the title and its status suffixes.
namespace hiscores {

inline constexpr char kProgramTitle[] = "Tumbra Hiscores";

inline constexpr char kSentMessage[] =
    "Your hiscores have been successfully sent to the TumbraGames website.";
// The sent message, then how many hiscores were left out as too long to be sent.
inline constexpr char kSentWithLeftOutFormat[] =
    "%s\n\nHiscores left out because each is too long to be sent: %d.";
inline constexpr char kNoHiscoresMessage[] = "Couldn't find your hiscores!\n";
// Instead of the message above when every hiscore found is too long to be sent.
inline constexpr char kAllTooLongFormat[] =
    "Your hiscores were found, but none can be sent: each is too long.\n\nHiscores left "
    "out: %d.";

inline constexpr char kSystemErrorMessage[] = "System error";
inline constexpr char kCannotOpenWindowMessage[] = "Can't open the program window!";
inline constexpr char kCannotConnectMessage[] = "Can't connect to server!";
inline constexpr char kDataTransferErrorMessage[] = "Data transfer error (connection OK).";
// A failure's message when earlier requests of the run were accepted, then how many
// hiscores reached the website and how many did not.
inline constexpr char kPartlySentFormat[] =
    "%s\n\nHiscores that reached the TumbraGames website: %d. Hiscores that did not: %d.";

inline constexpr char kInsertFloppyMessage[] = "Insert floppy disk and click OK.";
inline constexpr char kCannotWriteFloppyMessage[] =
    "There is no floppy disk in the drive or it's protected or full\n\nCheck it and try again.";
inline constexpr char kCannotCopyProgramMessage[] = "Can't copy myself to the floppy disk!";
inline constexpr char kSavedToFloppyMessage[] =
    "Your hiscores have been successfully written to the floppy disk.";
// The saved message, then how many records did not fit in the transfer file.
inline constexpr char kSavedWithLeftOutFormat[] =
    "%s Hiscores that did not fit on the floppy disk and were left out: %d.";
inline constexpr char kCannotReadFloppyMessage[] =
    "There is no floppy in the drive or it doesn't contain any hiscores!\n\nCheck it and try "
    "again.";
inline constexpr char kFloppyFileTooLongMessage[] =
    "The file on the floppy disk holds more hiscores than can be sent at once!\n\nNothing has "
    "been sent.";
inline constexpr char kSentFromFloppyMessage[] =
    "Hiscores from the floppy disk have been successfully sent to the TumbraGames website.";

// Suffixes of the title while a long step runs; an empty one clears the status.
inline constexpr char kNoStatus[] = "";
inline constexpr char kConnectingStatus[] = " - connecting...";
inline constexpr char kSendingStatus[] = " - sending data...";
inline constexpr char kReadingFloppyStatus[] = " - reading hiscores";
inline constexpr char kSavingFloppyStatus[] = " - saving hiscores";
inline constexpr char kSavingProgramStatus[] = " - saving myself";

} // namespace hiscores
