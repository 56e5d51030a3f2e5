/*
 * tavl.h - the card library's C interface.
 *
 * Every access to the LK2093 goes through these calls. The library is
 * loaded at run time from the file "libtavl3.so" beside the utility's
 * executable; the simulated card library in cardlib/ exports the same
 * calls. All integers are little-endian and 32 bits wide unless noted;
 * records are fixed byte layouts, held by the static assertions below.
 *
 * Threads: the library may be called from two threads at once (the
 * user-interface thread inside the access handshake, and the polling
 * thread). Every call is thread-safe.
 *
 * Memory: the caller owns every buffer it passes; the library never keeps
 * a pointer past the call and never writes more than the sizes stated
 * here. Names are NUL-terminated 8-bit texts (UTF-8 on this platform).
 */
#ifndef TAVL_H
#define TAVL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Checked by the loader against TAVL_GetInterfaceVersion(). */
#define TAVL_INTERFACE_VERSION 3u

/* Sizes of the buffers the callers pass and the library fills. */
#define TAVL_DETECT_INFO_SIZE 516 /* TAVL_Detect */
#define TAVL_PROFILE_NAME_MAX 64  /* characters of a profile name */
#define TAVL_NAME_BUFFER_MIN 250  /* smallest name buffer a caller passes */
#define TAVL_PATH_BUFFER_SIZE 260 /* TAVL_GetWLANDriverPath */
#define TAVL_SSID_MAX 32
#define TAVL_SURVEY_BUFFER_SIZE 7444 /* what the Site Survey page passes */

/* Result codes the callers rely on. */
#define TAVL_PROFILE_NONE_ACTIVE (-27) /* TAVL_GetActiveProfileByType */
#define TAVL_PROFILE_ENUM_END 3        /* TAVL_EnumProfilesByType */
#define TAVL_PROFILE_TYPE 1            /* the only profile type in use */

/* NDIS objects answered by TAVL_QueryOID (4-byte values). */
#define TAVL_OID_GEN_MEDIA_CONNECT_STATUS 0x00010114u /* 0 connected, 1 not */
#define TAVL_OID_GEN_XMIT_OK 0x00020101u              /* frames sent */
#define TAVL_OID_GEN_RCV_OK 0x00020102u               /* frames received */

/* Field mask bits of dwWLFlag (HostInfo fields, see below). */
#define TAVL_MASK_BSSID 0x00000001u
#define TAVL_MASK_SSID 0x00000002u
#define TAVL_MASK_POWER_MODE 0x00000004u
#define TAVL_MASK_RESERVED_08 0x00000008u
#define TAVL_MASK_RSSI 0x00000010u
#define TAVL_MASK_INFRASTRUCTURE 0x00000020u
#define TAVL_MASK_FRAG_THRESHOLD 0x00000040u
#define TAVL_MASK_RTS_THRESHOLD 0x00000080u
#define TAVL_MASK_SUPPORTED_RATES 0x00000200u
#define TAVL_MASK_CONFIGURATION 0x00000400u
#define TAVL_MASK_LINK_STATE 0x00000800u
#define TAVL_MASK_WEP_KEY1 0x00001000u /* key i is TAVL_MASK_WEP_KEY1 << i */
#define TAVL_MASK_WEP_KEYS 0x0000F000u
#define TAVL_MASK_WEP_STATUS 0x00010000u
#define TAVL_MASK_AUTH_MODE 0x00020000u
#define TAVL_MASK_RESERVED_40000 0x00040000u
#define TAVL_MASK_LINK_QUALITY 0x01000000u
#define TAVL_MASK_PREAMBLE 0x02000000u
#define TAVL_MASK_FIRMWARE_VERSION 0x04000000u
#define TAVL_MASK_CHANNEL_MASK 0x08000000u
/* Every bit the library knows; any other bit fails. */
#define TAVL_MASK_KNOWN 0x0F07FEFFu
/* The polling thread's full read before a full apply. */
#define TAVL_MASK_FULL_READ 0x0207F6EEu

/* Bit 31 of WepKeyBuffer.keyIndex marks the transmit key. */
#define TAVL_WEP_TRANSMIT_KEY 0x80000000u

/*
 * WirelessReg (1768 bytes): the stored form of one profile.
 */
typedef struct WirelessReg {
    uint32_t channel;         /* 1..14 */
    uint32_t txRate;          /* 1, 2, 3, 4, 8 or 15 (auto) */
    uint32_t opMode;          /* 0 ad hoc, 1 infrastructure */
    uint32_t GMode;           /* passed to HostInfo.GMode unchanged */
    char profileName[65];     /* at most 64 characters, NUL-terminated */
    char ssid[39];            /* at most 32 ASCII characters, NUL-terminated */
    uint32_t encryptionLevel; /* 0 off, 1 64-bit, 2 128-bit */
    char passphrase[257];
    char keyText128[4][27]; /* 26 hexadecimal digits + NUL */
    char keyText64[4][11];  /* 10 hexadecimal digits + NUL */
    char keyText[4][27];    /* the keys as sent: 10 or 26 digits + NUL */
    uint8_t unused641[3];
    int32_t defaultKeyId;      /* transmit key, 0..3 */
    uint32_t fragThreshold;    /* bytes; 2346 = off */
    uint32_t rtsThreshold;     /* bytes; 2347 = off */
    uint32_t preambleType;     /* 0 long, 1 short */
    uint32_t powerSaveMode;    /* 0 off, 1 on */
    uint32_t authType;         /* 0 open, 1 shared key, 2 automatic */
    uint32_t keyEntryMode;     /* 1 passphrase, 2 hexadecimal, 3 ASCII */
    uint8_t reserved672[1096]; /* kept as the library returns it */
} WirelessReg;

/* Radio configuration block of HostInfo (32 bytes). */
typedef struct TavlConfiguration {
    uint32_t length;       /* always 32 */
    uint32_t beaconPeriod; /* time units */
    uint32_t atimWindow;
    uint32_t dsConfig; /* channel centre frequency in kHz */
    uint32_t fhLength; /* always 16 */
    uint32_t hopPattern;
    uint32_t hopSet;
    uint32_t dwellTime;
} TavlConfiguration;

/*
 * HostInfo (392 bytes): the card's live configuration, exchanged with
 * TAVL_GetWLANConfig and TAVL_SetWLANConfig under a field mask.
 *
 * WEP key references. The four wepKey slots are 4 bytes wide, laid out for
 * a 32-bit process. Here each slot holds a 32-bit handle: the low half of
 * the key block's address. The high half of that address is kept in
 * wepKeyHigh[i], four words inside the area the 32-bit layout leaves
 * unused (offset 164). A reference is null when both halves are 0. Use
 * TavlSetWepKey() and TavlGetWepKey() below, never the words directly.
 */
typedef struct HostInfo {
    uint8_t bssid[6]; /* 0x1 */
    uint8_t unused6[2];
    uint32_t ssidLength;         /* 0x2 */
    uint8_t ssid[32];            /* 0x2 */
    int32_t rssi;                /* dBm, signed 16-bit in the low half */
    uint32_t infrastructureMode; /* 0x20: 0 ad hoc, 1 infrastructure */
    uint8_t unused52[8];
    TavlConfiguration configuration; /* 0x400 */
    uint32_t wepKey[4];              /* 0x1000 << i: handle of a WepKeyBuffer */
    uint32_t wepStatus;              /* 0x10000: 0 enabled, 1 disabled */
    uint32_t authMode;               /* 0x20000: 0 open, 1 shared, 2 automatic */
    uint8_t unused116[12];
    uint32_t powerMode; /* 0x4 */
    uint8_t unused132[4];
    uint32_t fragThreshold; /* 0x40 */
    uint32_t rtsThreshold;  /* 0x80 */
    uint8_t unused144[12];
    uint8_t supportedRates[8]; /* 0x200: units of 500 kbit/s */
    uint32_t wepKeyHigh[4];    /* high halves of the wepKey handles */
    uint8_t unused180[96];
    uint32_t mediaConnectStatus; /* filled by TAVL_QueryOID */
    uint8_t unused280[8];
    uint32_t preambleType; /* 0x2000000 */
    uint8_t unused292[4];
    char firmwareVersion[80]; /* 0x4000000, NUL-terminated */
    uint16_t channelMask;     /* 0x8000000: bit n-1 = channel n */
    uint8_t unused378[2];
    uint32_t GMode; /* written on every apply, no mask bit */
    uint8_t unused384[8];
} HostInfo;

/*
 * WepKeyBuffer: one WEP key for TAVL_SetWLANConfig (the standard NDIS WEP
 * key object). The block is `length` bytes long: keyLength + 15.
 */
typedef struct WepKeyBuffer {
    uint32_t length;    /* keyLength + 15 */
    uint32_t keyIndex;  /* 0..3, TAVL_WEP_TRANSMIT_KEY on the transmit key */
    uint32_t keyLength; /* 5 or 13 */
    uint8_t keyMaterial[16];
} WepKeyBuffer;

/* SsidText: the argument of TAVL_SetSSID. */
typedef struct SsidText {
    uint32_t length; /* 0..32 */
    uint8_t ssid[32];
} SsidText;

/* One entry of the site survey result (104 bytes). The result is a 32-bit
 * entry count followed by the entries. */
typedef struct TavlSurveyEntry {
    uint32_t length;
    uint8_t bssid[6];
    uint8_t reserved[2];
    uint32_t ssidLength;
    uint8_t ssid[32];
    uint32_t privacy;
    int32_t rssi;
    uint32_t networkType;
    uint32_t configurationLength;
    uint32_t beaconPeriod;
    uint32_t atimWindow;
    uint32_t dsConfig;
    uint8_t fhConfiguration[16];
    uint32_t infrastructureMode; /* 1 infrastructure, other ad hoc */
    uint8_t supportedRates[8];
} TavlSurveyEntry;

#define TAVL_SURVEY_ENTRY_SIZE 104
#define TAVL_SURVEY_HEADER_SIZE 4

static inline void TavlSetWepKey(HostInfo* host, int i, WepKeyBuffer* key) {
    uint64_t address = (uint64_t)(uintptr_t)key;
    host->wepKey[i] = (uint32_t)address;
    host->wepKeyHigh[i] = (uint32_t)(address >> 32);
}

static inline WepKeyBuffer* TavlGetWepKey(const HostInfo* host, int i) {
    uint64_t address = ((uint64_t)host->wepKeyHigh[i] << 32) | host->wepKey[i];
    return (WepKeyBuffer*)(uintptr_t)address;
}

/* ---- The calls ---------------------------------------------------------- */

/* Interface version of the library file: TAVL_INTERFACE_VERSION. */
uint32_t TAVL_GetInterfaceVersion(void);

/* Opens the library for a client identified by `identity`; `reserved` is
 * 0. Called once at start. Returns 1 on success. */
int32_t TAVL_Init(const char* identity, int32_t reserved);
/* Closes the library. No call may follow. Returns 1. */
int32_t TAVL_Terminate(void);

/* Looks for the card and fills `info` (TAVL_DETECT_INFO_SIZE bytes) with
 * its identity. Returns 1 when the card is present, 0 when not. */
int32_t TAVL_Detect(uint8_t* info);

/* Profile store. `type` is TAVL_PROFILE_TYPE. Name buffers that the
 * library fills are at least TAVL_NAME_BUFFER_MIN bytes; it writes at most
 * that many, terminator included. Names are compared without regard to
 * case; the spelling of the first store is kept. Return 0 on success. */
int32_t TAVL_SetProfileRoot(const char* root); /* "Corvane\Profile" */
int32_t TAVL_GetActiveProfileByType(char* name, int32_t type);
/* TAVL_PROFILE_NONE_ACTIVE when none is active */
int32_t TAVL_SetActiveProfileByType(const char* name, int32_t type);
int32_t TAVL_EnumProfilesByType(int32_t index, char* name, int32_t type);
/* TAVL_PROFILE_ENUM_END past the last profile */
int32_t TAVL_DeleteProfileByType(const char* name, int32_t type);
int32_t TAVL_GetProfileWireless(const char* name, WirelessReg* reg);
/* A null name stores into the active profile. */
int32_t TAVL_SetProfileWireless(const char* name, const WirelessReg* reg);
/* Writes `reg` to the driver's own settings. Returns 0 on success. */
int32_t TAVL_SetDriverReg(const WirelessReg* reg);

/* Live configuration. On entry *mask names the fields to read or write;
 * on return it holds the bits of the fields that failed (0 = complete
 * success). The return value is 0 when *mask is 0 on return. */
int32_t TAVL_GetWLANConfig(uint32_t* mask, HostInfo* host);
int32_t TAVL_SetWLANConfig(uint32_t* mask, const HostInfo* host);

/* Sets the network name and associates again. Returns 0 on success. */
int32_t TAVL_SetSSID(const SsidText* ssid);

/* Reads an NDIS object into `buffer` (`length` bytes, at least 4) and
 * stores the bytes written in *written. Returns 0 on success. */
int32_t TAVL_QueryOID(uint32_t oid, void* buffer, uint32_t length, uint32_t* written);

/* 2.4 GHz band: channel 1..14 to kHz and back; 0 when there is none. */
uint32_t TAVL_ChannelToFrequency(uint32_t channel);
uint32_t TAVL_FrequencyToChannel(uint32_t khz);

/* Regulatory domain 0..4 (FCC, ETSI, SPAIN, FRANCE, MKK). Returns 0 on
 * success. */
int32_t TAVL_SetWLDomain(int32_t domain);
int32_t TAVL_SetChannel(const uint32_t* channel);
int32_t TAVL_SetOperatingMode(const uint32_t* mode); /* 0 ad hoc, 1 infra */

/* Starts a scan; its results are ready within about a second. */
int32_t TAVL_SiteSurveyTrigger(void);
/* Writes the last scan's result into `buffer`, whose size in bytes is
 * *size: the entry count, then as many whole entries as fit. The count
 * still says how many there were. Returns 1 on success. */
int32_t TAVL_SiteSurveyGet(uint8_t* buffer, uint32_t* size);

/* *state becomes non-zero while the desktop's network service manages
 * the card. Returns 0 on success. */
int32_t TAVL_Get_XPWZC(uint32_t* state);
/* Non-zero when that service is off. */
int32_t TAVL_WinXPWZC_Disabled(void);

/* On entry `path` (TAVL_PATH_BUFFER_SIZE bytes) holds a folder; on return
 * the driver file's path relative to it. Returns 1 on success. */
int32_t TAVL_GetWLANDriverPath(char* path);

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(WirelessReg) == 1768);
static_assert(offsetof(WirelessReg, channel) == 0);
static_assert(offsetof(WirelessReg, txRate) == 4);
static_assert(offsetof(WirelessReg, opMode) == 8);
static_assert(offsetof(WirelessReg, GMode) == 12);
static_assert(offsetof(WirelessReg, profileName) == 16);
static_assert(offsetof(WirelessReg, ssid) == 81);
static_assert(offsetof(WirelessReg, encryptionLevel) == 120);
static_assert(offsetof(WirelessReg, passphrase) == 124);
static_assert(offsetof(WirelessReg, keyText128) == 381);
static_assert(offsetof(WirelessReg, keyText64) == 489);
static_assert(offsetof(WirelessReg, keyText) == 533);
static_assert(offsetof(WirelessReg, unused641) == 641);
static_assert(offsetof(WirelessReg, defaultKeyId) == 644);
static_assert(offsetof(WirelessReg, fragThreshold) == 648);
static_assert(offsetof(WirelessReg, rtsThreshold) == 652);
static_assert(offsetof(WirelessReg, preambleType) == 656);
static_assert(offsetof(WirelessReg, powerSaveMode) == 660);
static_assert(offsetof(WirelessReg, authType) == 664);
static_assert(offsetof(WirelessReg, keyEntryMode) == 668);
static_assert(offsetof(WirelessReg, reserved672) == 672);

static_assert(sizeof(TavlConfiguration) == 32);
static_assert(sizeof(HostInfo) == 392);
static_assert(offsetof(HostInfo, bssid) == 0);
static_assert(offsetof(HostInfo, ssidLength) == 8);
static_assert(offsetof(HostInfo, ssid) == 12);
static_assert(offsetof(HostInfo, rssi) == 44);
static_assert(offsetof(HostInfo, infrastructureMode) == 48);
static_assert(offsetof(HostInfo, configuration) == 60);
static_assert(offsetof(HostInfo, wepKey) == 92);
static_assert(offsetof(HostInfo, wepStatus) == 108);
static_assert(offsetof(HostInfo, authMode) == 112);
static_assert(offsetof(HostInfo, powerMode) == 128);
static_assert(offsetof(HostInfo, fragThreshold) == 136);
static_assert(offsetof(HostInfo, rtsThreshold) == 140);
static_assert(offsetof(HostInfo, supportedRates) == 156);
static_assert(offsetof(HostInfo, wepKeyHigh) == 164);
static_assert(offsetof(HostInfo, mediaConnectStatus) == 276);
static_assert(offsetof(HostInfo, preambleType) == 288);
static_assert(offsetof(HostInfo, firmwareVersion) == 296);
static_assert(offsetof(HostInfo, channelMask) == 376);
static_assert(offsetof(HostInfo, GMode) == 380);

static_assert(offsetof(WepKeyBuffer, length) == 0);
static_assert(offsetof(WepKeyBuffer, keyIndex) == 4);
static_assert(offsetof(WepKeyBuffer, keyLength) == 8);
static_assert(offsetof(WepKeyBuffer, keyMaterial) == 12);
static_assert(sizeof(WepKeyBuffer) >= 13 + 15);

static_assert(sizeof(SsidText) == 36);
static_assert(offsetof(SsidText, ssid) == 4);

static_assert(sizeof(TavlSurveyEntry) == TAVL_SURVEY_ENTRY_SIZE);
static_assert(offsetof(TavlSurveyEntry, bssid) == 4);
static_assert(offsetof(TavlSurveyEntry, ssidLength) == 12);
static_assert(offsetof(TavlSurveyEntry, ssid) == 16);
static_assert(offsetof(TavlSurveyEntry, privacy) == 48);
static_assert(offsetof(TavlSurveyEntry, rssi) == 52);
static_assert(offsetof(TavlSurveyEntry, dsConfig) == 72);
static_assert(offsetof(TavlSurveyEntry, infrastructureMode) == 92);
static_assert(offsetof(TavlSurveyEntry, supportedRates) == 96);
#endif

#endif /* TAVL_H */
