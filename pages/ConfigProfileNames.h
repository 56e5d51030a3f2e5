// Profile names and SSIDs as the Configuration page turns them into the
// fixed fields of a WirelessReg, and the way it compares profile names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>

// A profile name has at most this many characters as typed.
inline constexpr int kProfileNameMaxChars = 64;
// Bytes of a name that fit WirelessReg.profileName before its terminator.
inline constexpr std::size_t kProfileNameFieldBytes = 64;
// Characters of an SSID.
inline constexpr int kSsidMaxChars = 32;

// Profile names are told apart without regard to the case of the ASCII
// letters, as the profile store compares them; other characters compare
// exactly, so the page never calls two names the same that the store keeps
// apart.
bool SameProfileName(const QString& a, const QString& b);
// The order of the profile box: case of ASCII letters ignored, then exact.
bool ProfileNameLess(const QString& a, const QString& b);

// The position of the first entry of `names` that is the same profile as
// `name`, or -1.
int FindProfileName(const QStringList& names, const QString& name);
// Where `name` goes into the sorted `names`: after every entry that does
// not sort after it.
int ProfileInsertPosition(const QStringList& names, const QString& name);

// The UTF-8 bytes of `name` for WirelessReg.profileName: cut to at most
// kProfileNameFieldBytes bytes at a character boundary, so the field never
// ends in a partial character. A 64-character ASCII name fits whole; a
// longer UTF-8 name keeps only its first whole characters.
QByteArray ProfileNameFieldBytes(const QString& name);

// The first `maxChars` characters of `text`, counted as Unicode code
// points, so a character outside the basic plane is never split.
QString FirstCharacters(const QString& text, int maxChars);

// Position of the first character that is not 7-bit ASCII, or -1.
int FirstNonAsciiChar(const QString& text);
// The bytes of an SSID for WirelessReg.ssid: the text before its first
// character that is not 7-bit ASCII, at most kSsidMaxChars characters.
QByteArray SsidFieldBytes(const QString& ssid);
// The text of a stored SSID field, byte by byte (bytes 0x80 and above stay
// visible as the characters U+0080 to U+00FF), at most kSsidMaxChars.
QString SsidFromField(const char* field, std::size_t size);
