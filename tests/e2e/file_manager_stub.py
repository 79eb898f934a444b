"""A desktop's file manager as far as Tilewise asks it: org.freedesktop.FileManager1 on the
session bus, writing the URIs of every ShowItems call, one per line, to the given file.

Argument: the file to write to. Runs until it is killed.
"""
import sys

from gi.repository import Gio, GLib

INTERFACE = Gio.DBusNodeInfo.new_for_xml("""
<node><interface name="org.freedesktop.FileManager1">
  <method name="ShowItems">
    <arg type="as" name="URIs" direction="in"/><arg type="s" name="StartupId" direction="in"/>
  </method>
</interface></node>""").interfaces[0]


def answer(_connection, _sender, _path, _interface, method, parameters, invocation):
    if method == "ShowItems":
        with open(sys.argv[1], "a", encoding="utf-8") as record:
            record.writelines(uri + "\n" for uri in parameters.unpack()[0])
    invocation.return_value(None)


def serve(connection, _name):
    connection.register_object("/org/freedesktop/FileManager1", INTERFACE, answer)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.FileManager1",
                 Gio.BusNameOwnerFlags.NONE, serve, None, None)
GLib.MainLoop().run()
