#pragma once

// The simulated unit behind a pseudo-terminal, for the serial port: the program opens
// the terminal's slave side as it would /dev/ttyUSB0, and the unit sits on the master
// side. Like the adapter, the line echoes every byte the program sends; the unit
// hears them only when the slave is set to its line settings.

#include "sim/unit_line.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

class PtyUnit {
public:
    // Opens the terminal and powers the unit on with the environment's record and
    // fault. Raises std::runtime_error when no terminal can be had.
    PtyUnit();
    ~PtyUnit();
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

    // The path the program opens, such as /dev/pts/3.
    const std::string& slavePath() const { return slave; }

    // Serves the line on a thread of its own until destruction or unplugging.
    void start();
    // Serves on the calling thread until unplugged or stop() is called.
    void serve();
    void stop();

    // Returns once the unit has taken every byte that reached it and its echo and
    // answer are on their way back. Bytes the kernel has not yet passed on are not
    // seen, so on a loaded machine this is no substitute for the real pauses.
    void waitUntilAnswered();

    void setFault(int fault, int argument);
    // The line closes now, as when the adapter's cable is pulled.
    void unplug();
    bool unplugged();

    Record record();
    void setRecord(const Record& record);
    bool servoDriveOn();
    std::vector<SimServoFrame> servoFrames();
    // Whether the slave's settings were the unit's when the last bytes arrived.
    bool lineWasUnderstood();
    // Bytes received from the program so far.
    std::uint64_t receivedBytes();

private:
    void closeLine();
    // Called with the lock held.
    void handle(const std::uint8_t* data, std::size_t count);

    std::mutex mutex;
    UnitLine line;
    std::string slave;
    int master = -1;
    // Held open so that the line stays up between the program's opens.
    int slaveHold = -1;
    std::atomic<bool> stopping{false};
    // Set while serve() runs: the line is then closed by the serving thread, since a
    // descriptor closed under its poll stays open until the poll returns.
    std::atomic<bool> serving{false};
    std::atomic<bool> unplugRequested{false};
    std::thread server;
};

} // namespace sim
