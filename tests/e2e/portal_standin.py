"""A stand-in for the desktop portal's colour picker, for the end-to-end tests.

Usage: /usr/bin/python3 portal_standin.py LOG ANSWER...

Owns org.freedesktop.portal.Desktop on the session bus of its environment,
prints "ready" once it does, and answers each PickColor call with the next
ANSWER (the last one repeats):
  colour:R,G,B   response 0 with "color" (R, G, B), numbers from 0 to 1
  cancel         response 1: the user cancelled
  ended          response 2: ended some other way
  nocolour       response 0 without a colour
  badcolour      response 0 with a "color" that is a string
  silent         no reply to the call at all
The answer is sent before the call's reply, as early as a portal can send
it: a caller that listens only once it has the reply misses it. Every call
and every Close of a request is appended to LOG as one JSON line.
"""

import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

BUS_NAME = "org.freedesktop.portal.Desktop"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
REQUEST = "org.freedesktop.portal.Request"


def log(path, entry):
    with open(path, "a") as f:
        f.write(json.dumps(entry) + "\n")


class Request(dbus.service.Object):
    def __init__(self, bus, path, log_path):
        super().__init__(bus, path)
        self.path = path
        self.log_path = log_path

    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass

    @dbus.service.method(REQUEST, in_signature="", out_signature="")
    def Close(self):
        log(self.log_path, {"close": self.path})
        self.remove_from_connection()


def results_of(answer):
    if answer.startswith("colour:"):
        r, g, b = (dbus.Double(float(v)) for v in answer[len("colour:"):].split(","))
        return 0, {"color": dbus.Struct((r, g, b), signature="ddd", variant_level=1)}
    return {
        "cancel": (1, {}),
        "ended": (2, {}),
        "nocolour": (0, {}),
        "badcolour": (0, {"color": dbus.String("red", variant_level=1)}),
    }[answer]


class Portal(dbus.service.Object):
    def __init__(self, bus, log_path, answers):
        super().__init__(bus, PORTAL_PATH)
        self.bus = bus
        self.log_path = log_path
        self.answers = answers
        self.calls = 0
        self.requests = []

    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender", async_callbacks=("reply", "error"))
    def PickColor(self, parent, options, sender=None, reply=None, error=None):
        answer = self.answers[min(self.calls, len(self.answers) - 1)]
        self.calls += 1
        token = str(options.get("handle_token", "t%d" % self.calls))
        path = "%s/request/%s/%s" % (PORTAL_PATH, sender.lstrip(":").replace(".", "_"), token)
        log(self.log_path, {"parent": str(parent), "options": {str(k): str(v) for k, v in options.items()},
                            "path": path, "answer": answer})
        if answer == "silent":
            return
        request = Request(self.bus, path, self.log_path)
        self.requests.append(request)
        response, results = results_of(answer)
        request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
        reply(dbus.ObjectPath(path))


def main():
    log_path, answers = sys.argv[1], sys.argv[2:]
    for a in answers:
        if not a.startswith("colour:") and a != "silent":
            results_of(a)  # an unknown answer fails here, before "ready"
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(BUS_NAME, bus, do_not_queue=True)
    portal = Portal(bus, log_path, answers)
    print("ready", flush=True)
    GLib.MainLoop().run()
    del name, portal


if __name__ == "__main__":
    main()
