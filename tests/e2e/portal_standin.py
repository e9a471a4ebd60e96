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

Screenshot calls take the ANSWERs that start with "shot:", in turn; once
they are used up (or with none given) each is refused with response 2:
  shot:WxH       a W x H PNG in $HOME/Pictures, pixel (x, y) red x % 256,
                 green y % 256, blue 255 where x + y is odd, else 0
  shot:refuse    response 2
A PickColor ANSWER "impostor:ANSWER" first has another bus client send a
Response with the colour 0.8, 0.6, 0.2 on the request's path, then answers
ANSWER itself.
"""

import json
import os
import sys

import dbus
import dbus.bus
import dbus.lowlevel
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

import harness

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


def request_path(sender, options, fallback):
    token = str(options.get("handle_token", fallback))
    return "%s/request/%s/%s" % (PORTAL_PATH, sender.lstrip(":").replace(".", "_"), token)


def response_signal(path, response, results):
    message = dbus.lowlevel.SignalMessage(path, REQUEST, "Response")
    message.append(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"), signature="ua{sv}")
    return message


class Portal(dbus.service.Object):
    def __init__(self, bus, log_path, answers):
        super().__init__(bus, PORTAL_PATH)
        self.bus = bus
        self.log_path = log_path
        self.shots = [a for a in answers if a.startswith("shot:")]
        self.answers = [a for a in answers if not a.startswith("shot:")] or ["cancel"]
        self.calls = 0
        self.requests = []

    @dbus.service.method("org.freedesktop.portal.Screenshot", in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender")
    def Screenshot(self, parent, options, sender=None):
        answer = self.shots.pop(0) if self.shots else "shot:refuse"
        path = request_path(sender, options, "shot")
        log(self.log_path, {"screenshot": str(parent), "answer": answer,
                            "options": {str(k): str(v) for k, v in options.items()}})
        request = Request(self.bus, path, self.log_path)
        self.requests.append(request)
        if answer == "shot:refuse":
            request.Response(dbus.UInt32(2), dbus.Dictionary({}, signature="sv"))
            return dbus.ObjectPath(path)
        width, height = (int(v) for v in answer[len("shot:"):].split("x"))
        png = os.path.join(os.environ["HOME"], "Pictures", "Screenshot-%d.png" % len(self.requests))
        harness.write_png(png, width, height, bytes(
            v for y in range(height) for x in range(width) for v in (x % 256, y % 256, 255 * ((x + y) % 2))))
        request.Response(dbus.UInt32(0), dbus.Dictionary({"uri": "file://" + png}, signature="sv"))
        return dbus.ObjectPath(path)

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
        if answer.startswith("impostor:"):
            answer = answer[len("impostor:"):]
            impostor = dbus.bus.BusConnection(os.environ["DBUS_SESSION_BUS_ADDRESS"])
            impostor.send_message(response_signal(path, *results_of("colour:0.8,0.6,0.2")))
            # A round trip: the bus has passed the signal on before ours.
            impostor.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                   "GetId", "", ())
            impostor.close()
        response, results = results_of(answer)
        request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
        reply(dbus.ObjectPath(path))


def main():
    log_path, answers = sys.argv[1], sys.argv[2:]
    for a in answers:
        a = a[len("impostor:"):] if a.startswith("impostor:") else a
        if not a.startswith(("colour:", "shot:")) and a != "silent":
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
