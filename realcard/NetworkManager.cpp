#include "realcard/NetworkManager.h"

#include <dbus/dbus.h>

namespace realcard {

namespace {

constexpr int kTimeoutMs = 500;
constexpr const char* kService = "org.freedesktop.NetworkManager";

// Sends `call` and returns the reply, or null; takes ownership of `call`.
DBusMessage* Exchange(DBusConnection* bus, DBusMessage* call) {
    if (call == nullptr) {
        return nullptr;
    }
    DBusError error;
    dbus_error_init(&error);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, kTimeoutMs, &error);
    dbus_message_unref(call);
    dbus_error_free(&error);
    return reply;
}

bool DevicePath(DBusConnection* bus, const std::string& name, std::string& path) {
    DBusMessage* call = dbus_message_new_method_call(kService, "/org/freedesktop/NetworkManager",
                                                     kService, "GetDeviceByIpIface");
    const char* text = name.c_str();
    if (call != nullptr &&
        !dbus_message_append_args(call, DBUS_TYPE_STRING, &text, DBUS_TYPE_INVALID)) {
        dbus_message_unref(call);
        return false;
    }
    DBusMessage* reply = Exchange(bus, call);
    if (reply == nullptr) {
        return false;
    }
    const char* object = nullptr;
    DBusError error;
    dbus_error_init(&error);
    const bool ok =
        dbus_message_get_args(reply, &error, DBUS_TYPE_OBJECT_PATH, &object, DBUS_TYPE_INVALID) &&
        object != nullptr;
    if (ok) {
        path = object;
    }
    dbus_error_free(&error);
    dbus_message_unref(reply);
    return ok;
}

bool ManagedProperty(DBusConnection* bus, const std::string& path) {
    DBusMessage* call = dbus_message_new_method_call(kService, path.c_str(),
                                                     "org.freedesktop.DBus.Properties", "Get");
    const char* interface = "org.freedesktop.NetworkManager.Device";
    const char* property = "Managed";
    if (call != nullptr &&
        !dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &property,
                                  DBUS_TYPE_INVALID)) {
        dbus_message_unref(call);
        return false;
    }
    DBusMessage* reply = Exchange(bus, call);
    if (reply == nullptr) {
        return false;
    }
    bool managed = false;
    DBusMessageIter top;
    if (dbus_message_iter_init(reply, &top) &&
        dbus_message_iter_get_arg_type(&top) == DBUS_TYPE_VARIANT) {
        DBusMessageIter value;
        dbus_message_iter_recurse(&top, &value);
        if (dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_BOOLEAN) {
            dbus_bool_t flag = FALSE;
            dbus_message_iter_get_basic(&value, &flag);
            managed = flag != FALSE;
        }
    }
    dbus_message_unref(reply);
    return managed;
}

} // namespace

bool ManagedByNetworkManager(const std::string& interfaceName) {
    DBusError error;
    dbus_error_init(&error);
    // A private connection: the utility's own use of the bus (through Qt)
    // never shares state with the library's.
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
    dbus_error_free(&error);
    if (bus == nullptr) {
        return false;
    }
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    bool managed = false;
    if (dbus_bus_name_has_owner(bus, kService, nullptr)) {
        std::string path;
        managed = DevicePath(bus, interfaceName, path) && ManagedProperty(bus, path);
    }
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return managed;
}

} // namespace realcard
