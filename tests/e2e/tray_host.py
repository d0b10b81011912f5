"""A notification-area host for the test's session bus: the StatusNotifier
watcher that desktop panels provide. With it on the bus Qt puts the tray icon
and its menu on the bus, where a test can choose a menu entry (Quit) as a
user would in the panel.

Runs until its bus goes away. Uses GLib's D-Bus binding (python3-gi, which
pyatspi itself needs).
"""

import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
INTERFACE = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  </interface>
</node>
"""

items = []


def on_call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        # An item names its service, or only its object path on the sender.
        service = parameters.unpack()[0]
        if service.startswith("/"):
            service = sender + service
        items.append(service)
        connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered", GLib.Variant("(s)", (service,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def main():
    loop = GLib.MainLoop()
    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    connection.connect("closed", lambda *args: loop.quit())
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
    connection.register_object("/StatusNotifierWatcher", info, on_call, on_get, None)

    def acquired(*args):
        print("ready", flush=True)

    Gio.bus_own_name_on_connection(connection, WATCHER, Gio.BusNameOwnerFlags.NONE, acquired, lambda *a: loop.quit())
    loop.run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
