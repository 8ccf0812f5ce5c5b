#include "commands/outcome.h"

#include "resources/string_table.h"

#include <algorithm>
#include <array>

namespace {

struct OutcomeEntry {
    CommandOutcome outcome;
    int message;
    bool success;
};

const std::array<OutcomeEntry, 19> outcomeTable{{
    {CommandOutcome::Done, noMessage, true},
    {CommandOutcome::Connected, msg::connected, true},
    {CommandOutcome::Written, msg::written, true},
    {CommandOutcome::ForeignModel, msg::foreignModel, false},
    {CommandOutcome::ReadError, msg::readError, false},
    {CommandOutcome::WriteError, msg::writeError, false},
    {CommandOutcome::FileReadError, msg::fileReadError, false},
    {CommandOutcome::FileWriteError, msg::fileWriteError, false},
    {CommandOutcome::DiskFull, msg::diskFull, false},
    {CommandOutcome::UnknownError, msg::unknownError, false},
    {CommandOutcome::DriverMissing, msg::driverMissing, false},
    {CommandOutcome::AdapterMissing, msg::adapterMissing, false},
    {CommandOutcome::AdapterFault, msg::adapterFault, false},
    {CommandOutcome::LimitPoint1Wanted, msg::setLimitPoint1, true},
    {CommandOutcome::LimitPoint2Wanted, msg::setLimitPoint2, true},
    {CommandOutcome::LimitPointsStored, msg::pressWrite, true},
    {CommandOutcome::LimitOutOfRange, msg::outOfRange, false},
    {CommandOutcome::LimitSameDirection, msg::sameDirection, false},
    {CommandOutcome::LimitCancelled, msg::limitCancelled, false},
}};

const OutcomeEntry& entryOf(CommandOutcome outcome) {
    return *std::find_if(outcomeTable.begin(), outcomeTable.end(),
                         [outcome](const OutcomeEntry& e) { return e.outcome == outcome; });
}

} // namespace

int messageOf(CommandOutcome outcome) {
    return entryOf(outcome).message;
}

CommandOutcome outcomeOf(int message) {
    const auto* const found =
        std::find_if(outcomeTable.begin(), outcomeTable.end(),
                     [message](const OutcomeEntry& e) { return e.message == message; });
    return found == outcomeTable.end() ? CommandOutcome::UnknownError : found->outcome;
}

bool succeeded(CommandOutcome outcome) {
    return entryOf(outcome).success;
}
