#include "bench_line.h"

#include "device/d2xx/d2xx_port.h"
#ifdef VARNEL_SERIAL_PORT
#include "device/serial/serial_port.h"
#endif
#include "sim/sim_control.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

std::vector<std::int64_t> BenchLine::servoArrivals() const {
    std::vector<std::int64_t> arrivals;
#ifdef VARNEL_SERIAL_PORT
    if (unit) {
        for (const SimServoFrame& frame : unit->servoFrames()) {
            arrivals.push_back(frame.arrivalNs);
        }
        return arrivals;
    }
#endif
    for (std::size_t i = 0; i < simServoFrameCount(); ++i) {
        SimServoFrame frame{};
        simGetServoFrame(i, &frame);
        arrivals.push_back(frame.arrivalNs);
    }
    return arrivals;
}

void BenchLine::wakeUnit() {
    std::vector<std::uint8_t> preamble(1000, 0x55);
    port->write(preamble.data(), static_cast<std::uint32_t>(preamble.size()));
    port->read(preamble.data(), static_cast<std::uint32_t>(preamble.size()));
}

BenchLine openBenchLine([[maybe_unused]] int argc, [[maybe_unused]] char** argv,
                        [[maybe_unused]] int& index, const char* d2xxLibrary) {
    BenchLine line;
    try {
#ifdef VARNEL_SERIAL_PORT
        if (index < argc && std::string_view(argv[index]) == "--port") {
            ++index;
            std::string path;
            if (index < argc && argv[index][0] == '/') {
                path = argv[index++];
            } else {
                line.unit = std::make_unique<sim::PtyUnit>();
                line.unit->start();
                path = line.unit->slavePath();
            }
            line.name = "tty";
            line.port = std::make_unique<SerialPort>(path);
        } else
#endif
        {
            simReset();
            line.name = "D2XX";
            line.port = makeD2xxPort(d2xxLibrary);
        }
        line.port->open();
    } catch (const std::exception&) {
        std::fprintf(stderr, "cannot open the %s line\n", line.name.c_str());
        std::exit(1);
    }
    return line;
}
