#include "realcard/Nl80211.h"

#include <functional>
#include <linux/nl80211.h>
#include <netlink/genl/ctrl.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>
#include <netlink/netlink.h>
#include <sys/socket.h>
#include <sys/time.h>

namespace realcard {

namespace {

using Reply = std::function<void(const void* attrs, std::size_t length)>;

struct Exchange {
    Reply reply;
    int error = 0;
    bool done = false;
};

int OnValid(nl_msg* msg, void* arg) {
    auto* exchange = static_cast<Exchange*>(arg);
    genlmsghdr* header = static_cast<genlmsghdr*>(nlmsg_data(nlmsg_hdr(msg)));
    exchange->reply(genlmsg_attrdata(header, 0),
                    static_cast<std::size_t>(genlmsg_attrlen(header, 0)));
    return NL_OK;
}

int OnFinish(nl_msg*, void* arg) {
    static_cast<Exchange*>(arg)->done = true;
    return NL_SKIP;
}

int OnAck(nl_msg*, void* arg) {
    static_cast<Exchange*>(arg)->done = true;
    return NL_STOP;
}

int OnError(sockaddr_nl*, nlmsgerr* err, void* arg) {
    auto* exchange = static_cast<Exchange*>(arg);
    exchange->error = err->error != 0 ? err->error : -1;
    exchange->done = true;
    return NL_STOP;
}

// A reply that does not come within two seconds fails the request: no
// call of the library waits longer on the kernel.
bool LimitWait(int fd) {
    const timeval limit{2, 0};
    return setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0;
}

// One request and its replies (a single request also waits for its
// acknowledgement, so the end of the exchange is always seen). `fill` adds the attributes; every
// reply message goes to `reply`. False on any error the kernel or libnl reports.
bool Request(std::uint8_t command, int flags, const std::function<bool(nl_msg*)>& fill,
             const Reply& reply) {
    nl_sock* sock = nl_socket_alloc();
    if (sock == nullptr) {
        return false;
    }
    bool ok = false;
    nl_msg* msg = nullptr;
    nl_cb* cb = nullptr;
    if (genl_connect(sock) == 0 && LimitWait(nl_socket_get_fd(sock))) {
        const int family = genl_ctrl_resolve(sock, "nl80211");
        msg = nlmsg_alloc();
        cb = nl_cb_alloc(NL_CB_DEFAULT);
        if (family >= 0 && msg != nullptr && cb != nullptr &&
            genlmsg_put(msg, NL_AUTO_PORT, NL_AUTO_SEQ, family, 0,
                        (flags & NLM_F_DUMP) != 0 ? flags : flags | NLM_F_ACK, command,
                        0) != nullptr &&
            fill(msg)) {
            Exchange exchange{reply};
            nl_cb_set(cb, NL_CB_VALID, NL_CB_CUSTOM, OnValid, &exchange);
            nl_cb_set(cb, NL_CB_FINISH, NL_CB_CUSTOM, OnFinish, &exchange);
            nl_cb_set(cb, NL_CB_ACK, NL_CB_CUSTOM, OnAck, &exchange);
            nl_cb_err(cb, NL_CB_CUSTOM, OnError, &exchange);
            if (nl_send_auto(sock, msg) >= 0) {
                int rc = 0;
                while (!exchange.done && rc >= 0) {
                    rc = nl_recvmsgs(sock, cb);
                }
                ok = rc >= 0 && exchange.error == 0;
            }
        }
    }
    nl_cb_put(cb);
    nlmsg_free(msg);
    nl_socket_free(sock);
    return ok;
}

std::function<bool(nl_msg*)> WithU32(int attr, std::uint32_t value) {
    return [attr, value](nl_msg* msg) { return nla_put_u32(msg, attr, value) == 0; };
}

} // namespace

bool GetInterface(std::uint32_t ifindex, InterfaceInfo& info) {
    bool decoded = false;
    return Request(NL80211_CMD_GET_INTERFACE, 0, WithU32(NL80211_ATTR_IFINDEX, ifindex),
                   [&](const void* attrs, std::size_t length) {
                       decoded = DecodeInterface(attrs, length, info) || decoded;
                   }) &&
           decoded;
}

bool GetStation(std::uint32_t ifindex, const std::array<std::uint8_t, 6>& bssid,
                StationInfo& info) {
    bool decoded = false;
    return Request(
               NL80211_CMD_GET_STATION, 0,
               [&](nl_msg* msg) {
                   return nla_put_u32(msg, NL80211_ATTR_IFINDEX, ifindex) == 0 &&
                          nla_put(msg, NL80211_ATTR_MAC, 6, bssid.data()) == 0;
               },
               [&](const void* attrs, std::size_t length) {
                   decoded = DecodeStation(attrs, length, info) || decoded;
               }) &&
           decoded;
}

bool GetScan(std::uint32_t ifindex, std::vector<ScanBss>& entries) {
    entries.clear();
    return Request(NL80211_CMD_GET_SCAN, NLM_F_DUMP, WithU32(NL80211_ATTR_IFINDEX, ifindex),
                   [&](const void* attrs, std::size_t length) {
                       ScanBss bss;
                       if (DecodeScanEntry(attrs, length, bss)) {
                           entries.push_back(bss);
                       }
                   });
}

bool GetWiphy(std::uint32_t wiphy, WiphyInfo& info) {
    info = WiphyInfo{};
    return Request(
        NL80211_CMD_GET_WIPHY, 0, WithU32(NL80211_ATTR_WIPHY, wiphy),
        [&](const void* attrs, std::size_t length) { DecodeWiphy(attrs, length, info); });
}

bool GetPowerSave(std::uint32_t ifindex, bool& enabled) {
    bool decoded = false;
    return Request(NL80211_CMD_GET_POWER_SAVE, 0, WithU32(NL80211_ATTR_IFINDEX, ifindex),
                   [&](const void* attrs, std::size_t length) {
                       decoded = DecodePowerSave(attrs, length, enabled) || decoded;
                   }) &&
           decoded;
}

bool SetThresholds(std::uint32_t wiphy, std::uint32_t rts, std::uint32_t frag) {
    return Request(
        NL80211_CMD_SET_WIPHY, 0,
        [&](nl_msg* msg) {
            return nla_put_u32(msg, NL80211_ATTR_WIPHY, wiphy) == 0 &&
                   nla_put_u32(msg, NL80211_ATTR_WIPHY_RTS_THRESHOLD, rts) == 0 &&
                   nla_put_u32(msg, NL80211_ATTR_WIPHY_FRAG_THRESHOLD, frag) == 0;
        },
        [](const void*, std::size_t) {});
}

} // namespace realcard
