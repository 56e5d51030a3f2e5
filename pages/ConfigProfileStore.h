// The Configuration page's profile operations on the card library's
// profile store: listing the stored profiles, reading one, removing one.
// No widget: names and records in, names and records out.
#pragma once

#include "device/tavl.h"

#include <QString>
#include <QStringList>

#include <optional>

class CardLibrary;

struct ProfileListing {
    // The stored names in the order of the profile box; a name that
    // differs from an earlier one only in the case of ASCII letters is
    // left out, as the store tells them apart the same way.
    QStringList names;
    // The store said where its list ends. Only then does an empty list
    // mean an empty store: a failure to list leaves that unknown.
    bool complete = false;
    // The active profile's name; empty when the store names none.
    QString active;
};

// Lists the stored profiles (at most 1024, so a library that never says
// "no more" cannot hold the page) and asks for the active one.
ProfileListing ListProfiles(CardLibrary& library);

// The stored record of profile `name`, named as given whatever name the
// stored copy carries inside; fields the store does not give keep those
// of `base`. Nothing when the store cannot give it.
std::optional<WirelessReg> ReadProfile(CardLibrary& library, const QString& name,
                                       const WirelessReg& base);

// Deletes profile `name` and makes `defaultName` the active profile.
void RemoveProfile(CardLibrary& library, const QString& name, const QString& defaultName);
