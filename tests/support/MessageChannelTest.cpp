#include "support/MessageChannel.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageChannel, KnownLinesParseAndFormatBack) {
    using Kind = ChannelMessage::Kind;
    struct Case {
        const char* line;
        Kind kind;
        std::uint32_t code;
        const char* identifier;
    };
    const Case cases[] = {
        {"ELEGANT_CLOSE", Kind::ElegantClose, 0, ""},
        {"DEVNODES_CHANGED", Kind::DeviceChange, 7, ""},
        {"DEVICE_ARRIVAL PCI\\VEN_1A2B&DEV_2093\\1", Kind::DeviceChange, 0x8000,
         "PCI\\VEN_1A2B&DEV_2093\\1"},
        {"DEVICE_REMOVECOMPLETE USB\\X", Kind::DeviceChange, 0x8004, "USB\\X"},
        {"POWER 18", Kind::Power, 18, ""},
        {"COMMAND 2002", Kind::Command, 2002, ""},
    };
    for (const Case& c : cases) {
        const auto message = ParseChannelLine(c.line);
        ASSERT_TRUE(message) << c.line;
        EXPECT_EQ(c.kind, message->kind);
        EXPECT_EQ(c.code, message->code);
        EXPECT_EQ(c.identifier, message->identifier);
        EXPECT_EQ(std::string(c.line) + "\n", FormatChannelLine(*message));
    }
}

TEST(MessageChannel, UnknownMalformedAndOverlongLinesAreRefused) {
    for (const std::string& line :
         {std::string(""), std::string("elegant_close"), std::string("ELEGANT_CLOSE "),
          std::string("POWER"), std::string("POWER "), std::string("POWER -1"),
          std::string("POWER 99999999999"), std::string("POWER 7x"), std::string("COMMAND abc"),
          std::string("DEVICE_ARRIVAL"), std::string("DEVICE_ARRIVAL a\0b", 18),
          "ELEGANT_CLOSE" + std::string(2000, ' ')}) {
        EXPECT_FALSE(ParseChannelLine(line)) << line;
    }
    EXPECT_TRUE(ParseChannelLine("ELEGANT_CLOSE\r")); // a carriage return at the end is fine
}

} // namespace
