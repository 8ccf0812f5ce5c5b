#pragma once

// What a command asks the dialog to show: a message number from the string table,
// or none.
inline constexpr int noMessage = 0;
