// The dialog templates of the five pages (res/templates/).
#pragma once

#include "res/DialogTemplate.h"

extern const DialogTemplate kLinkInfoTemplate;      // "Link Info"
extern const DialogTemplate kConfigurationTemplate; // "Configuration"
extern const DialogTemplate kSiteSurveyTemplate;    // "Site Survey"
extern const DialogTemplate kEncryptionTemplate;    // "Encryption"
extern const DialogTemplate kAboutTemplate;         // "About"
