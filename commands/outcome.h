#pragma once

// What a command asks the dialog to show: a message number from the string table,
// or none.
inline constexpr int noMessage = 0;

// How a command ended. The dialog shows the message of an outcome; other faces say it
// in their own words.
enum class CommandOutcome {
    Done,      // finished; nothing to tell
    Connected, // the unit was read
    Written,   // the unit holds the settings, proven by reading them back
    ForeignModel,
    ReadError,
    WriteError,
    FileReadError,
    FileWriteError,
    DiskFull,
    UnknownError,
    DriverMissing,
    AdapterMissing,
    AdapterFault,
    LimitPoint1Wanted, // the limit point procedure runs and waits for point 1
    LimitPoint2Wanted, // point 1 was taken
    LimitPointsStored, // both points are in the working image, to be written
    LimitOutOfRange,
    LimitSameDirection,
    LimitCancelled,
};

// The string table entry of an outcome; noMessage for Done.
int messageOf(CommandOutcome outcome);
// The outcome a message stands for; UnknownError for a number no outcome has.
CommandOutcome outcomeOf(int message);
bool succeeded(CommandOutcome outcome);
