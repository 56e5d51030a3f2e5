#include "support/MessageChannel.h"

#include <gtest/gtest.h>

namespace {

// The known lines are sent and parsed by every scenario (tavlsim formats
// them, the utility parses them); here what must be refused.
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
