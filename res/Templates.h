// The dialog templates of the five pages (res/templates/).
#pragma once

#include "res/DialogTemplate.h"

extern const DialogTemplate kLinkInfoTemplate;      // 183 "Link Info"
extern const DialogTemplate kConfigurationTemplate; // 182 "Configuration"
extern const DialogTemplate kSiteSurveyTemplate;    // 188 "Site Survey"
extern const DialogTemplate kEncryptionTemplate;    // 184 "Encryption"
extern const DialogTemplate kAboutTemplate;         // 181 "About"
