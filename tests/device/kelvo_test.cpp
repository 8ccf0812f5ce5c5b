#include "device/d2xx/zabro.h"
#include "device/kelvo.h"
#include "fake_d2xx.h"
#include "outcome.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// A reply the unit could send: echo, marker, model code, unit ID 0x1234, balancing
// word, then settings bytes that are not all alike.
Bytes replyWith(std::uint8_t model = 0x8D) {
    Bytes reply(Kelvo::replySize, 0);
    reply[0] = 0x9F;
    reply[17] = 0xA1;
    reply[18] = model;
    reply[19] = 0x12;
    reply[20] = 0x34;
    for (std::size_t i = 23; i < reply.size(); ++i) {
        reply[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    return reply;
}

// Puts the word into bytes 21-22 that makes the forty words sum to 0.
void balance(Bytes& reply) {
    std::uint16_t sum = 0;
    for (std::size_t i = 23; i + 1 < reply.size(); i += 2) {
        sum = static_cast<std::uint16_t>(sum + (reply[i] << 8) + reply[i + 1]);
    }
    const auto word = static_cast<std::uint16_t>(-sum);
    reply[21] = static_cast<std::uint8_t>(word >> 8);
    reply[22] = static_cast<std::uint8_t>(word);
}

Bytes validReply(std::uint8_t model = 0x8D) {
    Bytes reply = replyWith(model);
    balance(reply);
    return reply;
}

class KelvoTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeD2xx{};
        port.driver = fakeDriverTable();
        port.handle = FakeD2xx::handle();
    }

    Bytes flagBytesSent() const {
        Bytes flags;
        for (const auto& frame : fake.writes) {
            flags.push_back(frame.at(15));
        }
        return flags;
    }

    Zabro port;
    std::vector<std::chrono::milliseconds> pauses;
    Kelvo kelvo{&port, [this](std::chrono::milliseconds pause) { pauses.push_back(pause); }};
};

TEST_F(KelvoTest, FirstReadSendsTheBitReversedRequest) {
    fake.incoming = validReply();
    kelvo.read(true);

    const Bytes expected = {0x9F, 0x00, 0xB1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x36};
    ASSERT_EQ(fake.writes.size(), 1U);
    EXPECT_EQ(fake.writes[0], expected);
    EXPECT_EQ(fake.calls.front(), "FT_Purge(@,1)") << "the queue is purged before sending";
    EXPECT_EQ(fake.calls.back(), "FT_Read(@,101)");
}

enum class Op { Read, Write, ServoOn, ServoOff };

struct FlagCase {
    const char* name;
    std::vector<Op> ops;
    Bytes flags; // byte 15 on the wire, frame by frame
};

void PrintTo(const FlagCase& c, std::ostream* os) {
    *os << c.name;
}

class FlagSequence : public KelvoTest, public ::testing::WithParamInterface<FlagCase> {};

// The flag byte carries bits over from the frame sent before, so each sequence the
// program runs has its own exact bytes.
TEST_P(FlagSequence, CarriesBitsFromFrameToFrame) {
    for (const Op op : GetParam().ops) {
        switch (op) {
        case Op::Read:
            fake.incoming = validReply();
            kelvo.read(true);
            break;
        case Op::Write:
            kelvo.write(false);
            break;
        case Op::ServoOn:
            kelvo.servoDrive(true);
            break;
        case Op::ServoOff:
            kelvo.servoDrive(false);
            break;
        }
    }
    EXPECT_EQ(flagBytesSent(), GetParam().flags);
}

const Bytes blocks1to8(8, 0x91);

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    ProgramSequences, FlagSequence,
    ::testing::Values(
        FlagCase{"ReadsWriteAndServo",
                 {Op::Read, Op::Read, Op::Write, Op::Read, Op::ServoOn, Op::ServoOff, Op::Read},
                 concat({{0xE0, 0xE7, 0x97}, blocks1to8, {0x01, 0xE0, 0x8F, 0x91, 0xE1}})},
        FlagCase{"WriteFirst", {Op::Write}, concat({{0x90}, blocks1to8, {0x01}})},
        FlagCase{"ServoOnThenOff", {Op::ServoOn, Op::ServoOff}, {0x88, 0x91}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KelvoTest, WriteSendsEveryBlockWithTheHeaderThenEndOfWrite) {
    auto& image = kelvo.workingImage.raw();
    for (std::size_t i = 4; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 3);
    }
    kelvo.workingImage.setUnitId(0x1234);
    image[84] = 0x5A;

    kelvo.write(false);

    ASSERT_EQ(fake.writes.size(), 10U);
    std::vector<Bytes> built;
    for (const auto& frame : fake.writes) {
        ASSERT_EQ(frame.size(), Kelvo::requestSize);
        EXPECT_EQ(frame[0], 0x9F);
        Bytes b(frame);
        std::transform(b.begin() + 1, b.end(), b.begin() + 1, reverseBits);
        EXPECT_EQ(std::accumulate(b.begin() + 1, b.end(), 0) % 256, 0) << "checksum";
        built.push_back(b);
    }
    for (std::size_t k = 0; k < 9; ++k) {
        const Bytes header(built[k].begin() + 1, built[k].begin() + 5);
        EXPECT_EQ(header, (Bytes{0x00, 0x8D, 0x12, 0x34})) << "block " << k;
        EXPECT_EQ(built[k][5], k);
        EXPECT_TRUE(
            std::equal(built[k].begin() + 6, built[k].begin() + 15, image.begin() + 4 + 9 * k))
            << "block " << k;
    }
    EXPECT_EQ(built[8][14], 0x5A) << "image byte 84 travels as byte 14 of block 8";
    // The end-of-write frame repeats block 0; only flags and checksum differ.
    EXPECT_TRUE(std::equal(built[9].begin(), built[9].begin() + 15, built[0].begin()));
    EXPECT_NE(built[9][15], built[0][15]);

    EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>(9, 100ms));
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "FT_Read(@,101)"), 0);
}

TEST_F(KelvoTest, FailedWriteStopsTheTransactionButItsFlagsCarryOver) {
    fake.writesBeforeFailure = 3;
    EXPECT_EQ(outcomeOf([&] { kelvo.write(false); }), "WriteError");
    EXPECT_EQ(fake.writes.size(), 3U);
    EXPECT_EQ(pauses.size(), 3U) << "no pause after the failed frame";

    // The failed servo-on frame was reversed in place like a sent one.
    fake = FakeD2xx{};
    Kelvo fresh(&port, [](std::chrono::milliseconds) {});
    fake.writesBeforeFailure = 0;
    EXPECT_EQ(outcomeOf([&] { fresh.servoDrive(true); }), "WriteError");
    fake.writesBeforeFailure = -1;
    fresh.servoDrive(false);
    EXPECT_EQ(flagBytesSent(), Bytes{0x91});
}

struct ReplyCase {
    const char* name;
    std::function<void(Bytes&)> damage;
    const char* outcome;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplyJudging : public KelvoTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyJudging, AcceptsOnlyWholeCheckedReplies) {
    Bytes reply = validReply();
    GetParam().damage(reply);
    fake.incoming = reply;
    kelvo.receivedImage.raw()[0] = 0x77;
    kelvo.receivedImage.raw()[84] = 0x66;
    const SettingsImage before = kelvo.receivedImage;

    EXPECT_EQ(outcomeOf([&] { kelvo.read(false); }), GetParam().outcome);

    const auto& received = kelvo.receivedImage.raw();
    if (std::string(GetParam().outcome) != "ok" &&
        std::string(GetParam().outcome) != "CompatibilityError") {
        EXPECT_EQ(kelvo.receivedImage, before) << "a refused reply stores nothing";
    } else {
        EXPECT_TRUE(std::equal(received.begin() + 1, received.begin() + 84, reply.begin() + 18));
        EXPECT_EQ(received[0], 0x77);
        EXPECT_EQ(received[84], 0x66);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyJudging,
    ::testing::Values(ReplyCase{"Valid", [](Bytes&) {}, "ok"},
                      ReplyCase{"WrongMarker", [](Bytes& r) { r[17] = 0xA0; }, "ProtocolError"},
                      ReplyCase{"ChecksumOffByOne", [](Bytes& r) { ++r[100]; }, "ProtocolError"},
                      ReplyCase{"ZeroWordsWithChecksumOne",
                                [](Bytes& r) {
                                    std::fill(r.begin() + 21, r.end(), 0);
                                    r[22] = 0x01;
                                },
                                "ProtocolError"},
                      ReplyCase{"ZeroWordsWithChecksumZero",
                                [](Bytes& r) { std::fill(r.begin() + 21, r.end(), 0); }, "ok"},
                      ReplyCase{"ForeignModel", [](Bytes& r) { r[18] = 0x8C; },
                                "CompatibilityError"},
                      ReplyCase{"OnlyTheEcho", [](Bytes& r) { r.resize(17); }, "ReadError"},
                      ReplyCase{"EchoAndMarkerOnly", [](Bytes& r) { r.resize(18); }, "ReadError"},
                      // Its received words balance, so only the count tells it was cut short.
                      ReplyCase{"CutShortButBalanced",
                                [](Bytes& r) {
                                    r[100] = 0;
                                    balance(r);
                                    r.resize(100);
                                },
                                "ReadError"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PortFailureCase {
    const char* name;
    std::function<void(Zabro&)> breakPort;
    const char* outcome;
    std::size_t framesSent;
};

void PrintTo(const PortFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadPortFailure : public KelvoTest, public ::testing::WithParamInterface<PortFailureCase> {};

TEST_P(ReadPortFailure, RaisesItsErrorAndKeepsTheReceivedImage) {
    fake.incoming = validReply();
    GetParam().breakPort(port);
    const SettingsImage before = kelvo.receivedImage;

    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), GetParam().outcome);
    EXPECT_EQ(fake.writes.size(), GetParam().framesSent);
    EXPECT_EQ(kelvo.receivedImage, before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ReadPortFailure,
    ::testing::Values(
        PortFailureCase{"PurgeFails", [](Zabro&) { fake.failing = "FT_Purge"; }, "ConnectionError",
                        0},
        PortFailureCase{"PurgeMissing", [](Zabro& p) { p.driver.FT_Purge = nullptr; },
                        "ConnectionError", 0},
        PortFailureCase{"WriteFails", [](Zabro&) { fake.failing = "FT_Write"; }, "WriteError", 0},
        PortFailureCase{"ReadFails", [](Zabro&) { fake.failing = "FT_Read"; }, "ReadError", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// Any port will do: the purge goes through the port's interface, before the request.
TEST(KelvoPort, ReadPurgesWhateverPortItIsGiven) {
    struct OtherPort : ComDevice {
        void open() override {}
        void close() override {}
        std::uint32_t read(std::uint8_t*, std::uint32_t) override { return 0; }
        void write(const std::uint8_t*, std::uint32_t) override { events += "write "; }
        void purgeReceive() override { events += "purge "; }
        std::string events;
    } other;
    Kelvo kelvo(&other);
    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), "ReadError");
    EXPECT_EQ(other.events, "purge write ");
}

} // namespace
