// Identifiers of the pages' dialog templates, of their controls and of the
// help topics the pages show. The templates (res/templates/), the pages and
// their tests all take them from here; each control's object name is its
// identifier as a number.
#pragma once

// The dialog templates.
enum DialogId : int {
    IDD_ABOUT = 181,
    IDD_CONFIGURATION = 182,
    IDD_LINK_INFO = 183,
    IDD_ENCRYPTION = 184,
    IDD_SITE_SURVEY = 188,
};

// The help topic of each page (res/help/<topic>.html).
enum HelpTopicId : int {
    HELP_LINK_INFO = 102,
    HELP_CONFIGURATION = 103,
    HELP_SITE_SURVEY = 104,
    HELP_ENCRYPTION = 105,
    HELP_ABOUT = 106,
};

// The sheet's own buttons below the pages.
namespace SheetControls {
enum Id : int {
    kOkButton = 1,
    kCancelButton = 2,
    kHelpButton = 9,
};
} // namespace SheetControls

// Identifiers are unique within a template only: Link Info's Re-Scan and
// Site Survey's Search share one, and so do Site Survey's list and the
// Encryption page's Manual Entry. Each template has its own namespace.

namespace LinkInfoControls {
enum Id : int {
    kStateEdit = 1028,
    kChannelLabel = 1066,
    kChannelEdit = 1001,
    kReScanButton = 1015,
    kRateLabel = 1068,
    kRateEdit = 1003,
    kSsidLabel = 1067,
    kSsidEdit = 1002,
    kFramesGroup = 1065,
    kTransmittedEdit = 1029,
    kReceivedEdit = 1231,
    kQualityCaption = 1130,
    kQualityBar = 1129,
    kSignalLabel = 1100,
    kSignalCaption = 1101,
    kSignalBar = 1099,
};
} // namespace LinkInfoControls

namespace ConfigurationControls {
enum Id : int {
    IDC_PROFILE = 1185,
    IDC_REMOVE = 1188,
    IDC_CREATE = 1187,
    IDC_ACTIVATE = 1189,
    IDC_MODE_LABEL = 1085,
    IDC_MODE = 1010,
    IDC_SSID_LABEL = 1087,
    IDC_SSID = 1012,
    IDC_CHANNEL_LABEL = 1086,
    IDC_CHANNEL = 1011,
    IDC_POWER_SAVE_LABEL = 1089,
    IDC_POWER_SAVE = 1014,
    IDC_RESTORE_DEFAULTS = 1116,
    IDC_UNDO_CHANGES = 1117,
    IDC_APPLY_CHANGES = 1118,
};
} // namespace ConfigurationControls

namespace SiteSurveyControls {
enum Id : int {
    kSurveyList = 1131,
    kSearchButton = 1015,
    kConnectButton = 1133,
};
} // namespace SiteSurveyControls

namespace EncryptionControls {
enum Id : int {
    kNoticeLabel = 61512,
    kLevelLabel = 1119,
    kLevelList = 1120,
    kKeyEntryGroup = 1135,
    kPassphraseRadio = 1128,
    kPassphraseLabel = 1122,
    kPassphraseEdit = 1123,
    kManualRadio = 1131,
    kAsciiBox = 1205,
    kDefaultKeyLabel = 1096,
    kDefaultKeyList = 1036,
    kRestoreButton = 1125,
    kUndoButton = 1126,
    kApplyButton = 1127,
};
// Key n's label and its field in each of the four key groups, at n - 1.
inline constexpr int kKeyLabels[4] = {1092, 1093, 1094, 1095};
inline constexpr int kHex64[4] = {1031, 1037, 1043, 1048};
inline constexpr int kAscii64[4] = {1032, 1038, 1044, 1049};
inline constexpr int kHex128[4] = {1136, 1137, 1138, 1139};
inline constexpr int kAscii128[4] = {1140, 1141, 1142, 1143};
} // namespace EncryptionControls

namespace AboutControls {
enum Id : int {
    kNoticeLabel = 1081,
    kTitleLabel = 1080,
    kDriverGroup = 1102,
    kDriverVersionCaption = 1077,
    kDriverVersionLabel = 1106,
    kUtilityGroup = 1108,
    kUtilityVersionCaption = 1109,
    kUtilityVersionLabel = 1110,
    kFirmwareGroup = 1111,
    kFirmwareVersionCaption = 1078,
    kFirmwareVersionLabel = 1112,
};
} // namespace AboutControls
