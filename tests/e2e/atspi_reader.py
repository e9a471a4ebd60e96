"""The accessibility reader of one program run: one /usr/bin/python3 child
(atspi_query.py --serve) that stays up while the program runs and answers
one JSON request a line, instead of a new interpreter and pyatspi per query."""

import json
import os
import subprocess

from errors import HarnessError
from processes import HERE, SYSTEM_PYTHON, _die_with_parent, _read_line, _stop_group


class AtspiReader:
    """Started on the first request, ended with the program's run. A reader
    that does not answer in time is ended, and the next request starts a
    fresh one: its pipe may hold a late answer to the old request."""

    def __init__(self, pid, env, log_path):
        self._pid = pid
        self._env = env
        self._log_path = log_path
        self._proc = None

    def _start(self):
        with open(self._log_path, "ab") as err:
            self._proc = subprocess.Popen(
                [SYSTEM_PYTHON, os.path.join(HERE, "atspi_query.py"), "--serve", str(self._pid)],
                env=self._env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=err,
                start_new_session=True, preexec_fn=_die_with_parent, close_fds=True)

    def ask(self, request, timeout):
        """The answer to `request` (a dict), within its own timeout plus the
        time to start the reader."""
        if self._proc is None or self._proc.poll() is not None:
            self.close()
            self._start()
        try:
            self._proc.stdin.write(json.dumps(request).encode() + b"\n")
            self._proc.stdin.flush()
            line = _read_line(self._proc.stdout, timeout + 10, "the accessibility reader")
        except (OSError, HarnessError) as e:
            self.close()
            raise HarnessError("AT-SPI query %s failed: %s; %s" % (request.get("op"), e, self._log())) from None
        return json.loads(line)

    def _log(self):
        try:
            with open(self._log_path, "rb") as f:
                return f.read().decode(errors="replace")[-2000:]
        except OSError:
            return ""

    def close(self):
        if self._proc is None:
            return
        for pipe in (self._proc.stdin, self._proc.stdout):
            try:
                pipe.close()
            except OSError:
                pass
        _stop_group(self._proc, grace=1.0)
        self._proc = None
