#include "res/Strings.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kStrings[] = {
    {IDS_INFRASTRUCTURE, "Infrastructure"},
    {IDS_ABOUT_NOTICE, "Configuration and status of the LK2093 PCI card."},
    {IDS_POWER_DISABLED, "Disabled"},
    {IDS_POWER_ENABLED, "Enabled"},
    {IDS_KEY_1, "1"},
    {IDS_KEY_2, "2"},
    {IDS_KEY_3, "3"},
    {IDS_KEY_4, "4"},
    {IDS_WEP_DISABLED, "Disabled"},
    {IDS_WEP_64, "64 Bits"},
    {IDS_WEP_128, "128 Bits"},
    {IDS_AD_HOC, "Ad-Hoc"},
    {IDS_WEP_FAILED, "Failed to change WEP configuration."},
    {IDS_PROFILE_EXISTS, "The profile is already exist. Please use a different name."},
    {IDS_CANNOT_REMOVE_DEFAULT, "You can not remove the 'default' profile."},
    {IDS_DEFAULT_PROFILE, "default"},
    {IDS_CONFIRM_REMOVE, "Do you want to remove profile: "},
    {IDS_CONFIG_FAILED, "Failed to change device configuration."},
    {IDS_KEY_LENGTH_26, "Invalid WEP key length. They should be 26 characters."},
    {IDS_KEY_LENGTH_10, "Invalid WEP key length. They should be 10 characters."},
    {IDS_CONNECTED_BSSID, "Connected - BSSID = "},
    {IDS_SCANNING, "Scanning ..."},
    {IDS_NO_SIGNAL, "No Signal"},
    {IDS_POOR, "Poor"},
    {IDS_GOOD, "Good"},
    {IDS_VERY_GOOD, "Very Good"},
    {IDS_EXCELLENT, "Excellent"},
    {IDS_HIDE_UTILITY, "Hide Config Utility"},
    {IDS_SHOW_UTILITY, "Show Config Utility"},
    {IDS_EXIT, "Exit"},
    {IDS_CARD_NOT_PRESENT, "The card is NOT present!"},
    {IDS_NO_PASSPHRASE, "The PassPhrase is not given, please specify the desired PassPhrase."},
    {IDS_KEY_LENGTH_5_ASCII, "Invalid WEP key length. They should be 5 ASCII characters."},
    {IDS_KEY_LENGTH_13_ASCII, "Invalid WEP key length. They should be 13 ASCII characters."},
    {IDS_SSID_ASCII_ONLY, "SSID accepts ASCII characters only."},
    {IDS_KEY_NOT_HEX, "Invalid WEP key. They should be hexadecimal digits 0-9 and A-F."},
    {IDS_SEARCHING, "Searching ..."},
};

} // namespace

const char* ResString(int id) {
    for (const Entry& entry : kStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return "";
}
