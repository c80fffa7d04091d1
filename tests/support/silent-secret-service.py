#!/usr/bin/python3
# Owns the Secret Service's name on the session bus and never answers a call:
# a keyring that hangs (a prompt nobody closes, a daemon that stopped).
import dbus
import dbus.lowlevel
import dbus.mainloop.glib
from gi.repository import GLib

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()


def swallow(connection, message):
    if isinstance(message, dbus.lowlevel.MethodCallMessage) and message.get_destination() != "org.freedesktop.DBus":
        return dbus.lowlevel.HANDLER_RESULT_HANDLED
    return dbus.lowlevel.HANDLER_RESULT_NOT_YET_HANDLED


bus.add_message_filter(swallow)
bus.request_name("org.freedesktop.secrets")
GLib.MainLoop().run()
