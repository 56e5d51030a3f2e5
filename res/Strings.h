// The string table: every text the user sees, under its fixed identifier.
#pragma once

#include "res/StringIds.h"

// The text of string `id`; an empty text for an unknown identifier.
const char* ResString(int id);

// Window title of the sheet and caption of the application's message boxes.
inline constexpr const char* kAppTitle = "Corvane LK2093 WLAN PCI card utility";
// Name of the single-instance lock and of the card.
inline constexpr const char* kProductName = "Corvane LK2093 - 11G Wireless PCI card";
