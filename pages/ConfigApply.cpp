#include "pages/ConfigApply.h"

#include "device/AccessHandshake.h"
#include "device/CardLibrary.h"
#include "device/HostState.h"
#include "device/Records.h"
#include "device/SheetState.h"
#include "pages/ConfigProfileNames.h"
#include "pages/PageContext.h"

#include <string_view>

namespace {

constexpr std::uint32_t kAutoRate = 15;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

void WriteConfigValues(WirelessReg& record, const QString& name, const ConfigValues& values) {
    SetFieldText(record.profileName, View(ProfileNameFieldBytes(name)));
    if (values.mode >= 0) {
        record.opMode = static_cast<std::uint32_t>(values.mode);
    }
    if (values.channel) {
        record.channel = *values.channel;
    }
    SetFieldText(record.ssid, View(SsidFieldBytes(values.ssid)));
    record.txRate = kAutoRate;
    if (values.powerSave >= 0) {
        record.powerSaveMode = static_cast<std::uint32_t>(values.powerSave);
    }
}

void ApplyProfile(const PageContext& context, const QString& name, const WirelessReg& record,
                  bool creating, bool fullApply) {
    std::optional<CAccessHandshake> handshake;
    if (fullApply) {
        handshake.emplace(context.state, context.clock);
    }
    context.state.reg.Set(record);
    const QByteArray bytes = name.toUtf8();
    context.library.SetProfileWireless(bytes.constData(), &record);
    context.library.SetActiveProfileByType(bytes.constData(), TAVL_PROFILE_TYPE);
    // A request another apply raised stays.
    if (!creating) {
        gChangeParametersRequest = 1;
    }
    if (fullApply) {
        gApplyConfigRequest = 1;
    }
}

void CommitProfile(const PageContext& context, const QString& name, const WirelessReg& record,
                   bool activatesPicked) {
    std::optional<CAccessHandshake> handshake;
    if (activatesPicked) {
        handshake.emplace(context.state, context.clock);
    }
    context.state.reg.Set(record);
    // A null name stores into the active profile, which the first call
    // has just named.
    const QByteArray bytes = name.toUtf8();
    context.library.SetActiveProfileByType(bytes.constData(), TAVL_PROFILE_TYPE);
    context.library.SetProfileWireless(nullptr, &record);
    gChangeParametersRequest = 1;
    if (activatesPicked) {
        gApplyConfigRequest = 1;
    }
}
