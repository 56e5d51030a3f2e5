// How a network name is shown. An SSID is up to 32 arbitrary bytes: most
// networks name themselves in UTF-8, so valid UTF-8 shows as its text;
// anything else shows byte by byte, printable ASCII as itself and every
// other byte (and the backslash) escaped, so that no byte is lost from
// sight. The bytes sent to the card are never taken from this text.
#pragma once

#include <QString>

#include <string_view>

QString SsidDisplayText(std::string_view bytes);
