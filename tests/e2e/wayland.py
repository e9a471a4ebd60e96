"""A private Wayland session: a headless weston compositor in place of the X
server, with the same D-Bus session and accessibility bus as harness.Session.

Nothing here moves a pointer or takes a screenshot: there is no X server to
ask. The program is driven and read through the accessibility interface
(App.press, App.texts), which works the same on every display server.
"""

import os
import shutil
import socket

import harness

SOCKET = "wayland-tinctara"


def _accepts(path):
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        s.connect(path)
        return True
    except OSError:
        return False
    finally:
        s.close()


class WaylandSession(harness.Session):
    platform = "wayland"

    def _start_display(self, env):
        if not shutil.which("weston"):
            raise harness.HarnessError("weston is missing; install the Debian package weston")
        w, h = self.screen
        log = os.path.join(self.tmp, "weston.log")
        self._display_server = harness._spawn(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--no-config", "--idle-time=0",
             "--socket=" + SOCKET, "--width=%d" % w, "--height=%d" % h, "--log=" + log],
            env, stderr_path=os.path.join(self.tmp, "weston.err"))
        # The socket lives in the session's private runtime folder.
        path = os.path.join(env["XDG_RUNTIME_DIR"], SOCKET)
        harness.wait_until(lambda: self._display_server.poll() is not None or _accepts(path),
                           20, 0.05, "the weston socket")
        if self._display_server.poll() is not None:
            raise harness.HarnessError("weston ended with status %d: %s"
                                       % (self._display_server.returncode, self._log("weston.log")))
        env["WAYLAND_DISPLAY"] = SOCKET
