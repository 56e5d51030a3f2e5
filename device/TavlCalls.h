// The list of card library calls, for code that handles every call alike
// (the loader binds one symbol per entry).
#pragma once

#define TAVL_CALLS(X)                                                                              \
    X(Init)                                                                                        \
    X(Terminate)                                                                                   \
    X(Detect)                                                                                      \
    X(SetProfileRoot)                                                                              \
    X(GetActiveProfileByType)                                                                      \
    X(SetActiveProfileByType)                                                                      \
    X(EnumProfilesByType)                                                                          \
    X(DeleteProfileByType)                                                                         \
    X(GetProfileWireless)                                                                          \
    X(SetProfileWireless)                                                                          \
    X(SetDriverReg)                                                                                \
    X(GetWLANConfig)                                                                               \
    X(SetWLANConfig)                                                                               \
    X(SetSSID)                                                                                     \
    X(QueryOID)                                                                                    \
    X(ChannelToFrequency)                                                                          \
    X(FrequencyToChannel)                                                                          \
    X(SetWLDomain)                                                                                 \
    X(SetChannel)                                                                                  \
    X(SetOperatingMode)                                                                            \
    X(SiteSurveyTrigger)                                                                           \
    X(SiteSurveyGet)                                                                               \
    X(Get_XPWZC)                                                                                   \
    X(WinXPWZC_Disabled)                                                                           \
    X(GetWLANDriverPath)
