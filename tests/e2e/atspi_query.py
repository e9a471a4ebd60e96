"""Accessibility queries against a running program, answered as JSON.

Usage: atspi_query.py PID REQUEST_JSON answers one request; atspi_query.py
--serve PID answers one request a line on stdin with one answer a line on
stdout until stdin closes, so a test pays for starting Python and pyatspi
once per program run. Run by /usr/bin/python3 inside the program's D-Bus
session. Requests:
  {"op": "texts", "names": [...], "timeout": s}  -> {"texts": {name: text}}
  {"op": "extents", "name": n, "roles": [...], "timeout": s}
                                                 -> {"extents": [x, y, w, h]}
  {"op": "dump", "timeout": s}                   -> {"objects": [[role, name,
                                                     showing, extents], ...]}
  {"op": "alerts", "timeout": s}                 -> {"alerts": [{"title": t,
                                                     "labels": [...]}, ...]}
  {"op": "focused", "timeout": s}                -> {"focused": [[role, name], ...]}
  {"op": "descriptions", "names": [...], "timeout": s}
                                                 -> {"descriptions": {name: text}}
  {"op": "press", "name": n, "roles": [...], "window": w, "timeout": s}
                                                 -> {"pressed": n}
  {"op": "selection", "name": n, "timeout": s}
                                                 -> {"selection": {"text": t,
                                                     "selected": [start, end]}}
The press request runs the object's "Press" action, as an assistive tool
would, without pointer or keys; "window" (optional) names the top-level
window to look in, where a name is not unique in the program.
Retries until the program's objects are there or the timeout passes; then
answers {"error": "..."}. Reading goes through the Text interface only, so no
control is focused or touched.
"""

import json
import sys
import time

import pyatspi

# Roles under which Qt exposes an editable line.
EDIT_ROLES = {"text", "entry", "password text"}


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    # A reader that lives across requests must not answer from what it
    # heard before: names, states and children change between them.
    desktop.clear_cache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def walk(root, limit=5000):
    stack = [root]
    seen = 0
    while stack and seen < limit:
        acc = stack.pop()
        seen += 1
        yield acc
        try:
            n = acc.childCount
        except Exception:
            continue
        for i in range(n - 1, -1, -1):
            try:
                child = acc.getChildAtIndex(i)
            except Exception:
                continue
            if child is not None:
                stack.append(child)


def role_name(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ""


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def texts(app, names):
    found = {}
    for acc in walk(app):
        try:
            name = acc.name
        except Exception:
            continue
        if name in names and role_name(acc) in EDIT_ROLES:
            if name in found:
                return None, "more than one editable control named %r" % name
            t = acc.queryText()
            found[name] = t.getText(0, -1)
    missing = [n for n in names if n not in found]
    if missing:
        return None, "no editable control named %s" % ", ".join(repr(n) for n in missing)
    return found, None


def extents(app, name, roles):
    for acc in walk(app):
        try:
            if acc.name != name:
                continue
        except Exception:
            continue
        if roles and role_name(acc) not in roles:
            continue
        if not showing(acc):
            continue
        e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if e.width > 0 and e.height > 0:
            return [e.x, e.y, e.width, e.height], None
    return None, "no showing object named %r%s" % (name, " with role in %s" % roles if roles else "")


def dump(app):
    """Every object as [role, name, showing, extents]: for writing tests."""
    out = []
    for acc in walk(app):
        try:
            e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            box = [e.x, e.y, e.width, e.height]
        except Exception:
            box = None
        try:
            name = acc.name
        except Exception:
            name = None
        out.append([role_name(acc), name, showing(acc), box])
    return out


def descriptions(app, names):
    """Accessible descriptions of the showing objects with these names."""
    found = {}
    for acc in walk(app):
        try:
            name = acc.name
        except Exception:
            continue
        if name in names and showing(acc):
            if name in found:
                return None, "more than one showing object named %r" % name
            found[name] = acc.description
    missing = [n for n in names if n not in found]
    if missing:
        return None, "no showing object named %s" % ", ".join(repr(n) for n in missing)
    return found, None


def focused(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_FOCUSED)
    except Exception:
        return False


def alerts(app):
    """Showing alerts and dialogs with the texts of their showing labels."""
    out = []
    for acc in walk(app):
        if role_name(acc) not in ("alert", "dialog") or not showing(acc):
            continue
        labels = [child.name for child in walk(acc)
                  if child is not acc and role_name(child) == "label" and showing(child)]
        out.append({"title": acc.name, "labels": labels})
    return out


def focused_objects(app):
    return [[role_name(acc), acc.name] for acc in walk(app) if focused(acc)]


def press(app, name, roles, window):
    roots = [app]
    if window:
        roots = [app.getChildAtIndex(i) for i in range(app.childCount)]
        roots = [w for w in roots if w is not None and w.name == window]
        if not roots:
            return None, "no window named %r" % window
    matches = [acc for root in roots for acc in walk(root)
               if acc.name == name and (not roles or role_name(acc) in roles)]
    if len(matches) != 1:
        return None, "%d objects named %r%s" % (len(matches), name, " in %r" % window if window else "")
    action = matches[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        return None, "%r has no Press action (%s)" % (name, names)
    if not action.doAction(names.index("Press")):
        return None, "the Press action of %r failed" % name
    return name, None


def selection(app, name):
    """The text of the editable control with this name and the part of it
    selected ([0, 0] for none)."""
    found = [acc for acc in walk(app) if acc.name == name and role_name(acc) in EDIT_ROLES]
    if len(found) != 1:
        return None, "%d editable controls named %r" % (len(found), name)
    t = found[0].queryText()
    part = [0, 0]
    if t.getNSelections() > 0:
        part = list(t.getSelection(0))
    return {"text": t.getText(0, -1), "selected": part}, None


def answer(pid, req):
    app = find_app(pid)
    if app is None:
        return None, "the program (pid %d) is not on the accessibility bus" % pid
    if req["op"] == "texts":
        return texts(app, req["names"])
    if req["op"] == "extents":
        return extents(app, req["name"], req.get("roles") or [])
    if req["op"] == "dump":
        return dump(app), None
    if req["op"] == "alerts":
        return alerts(app), None
    if req["op"] == "descriptions":
        return descriptions(app, req["names"])
    if req["op"] == "focused":
        return focused_objects(app), None
    if req["op"] == "press":
        return press(app, req["name"], req.get("roles") or [], req.get("window"))
    if req["op"] == "selection":
        return selection(app, req["name"])
    return None, "unknown request %r" % req["op"]


# The key of each request's answer; "objects" for a dump.
ANSWER_KEYS = {"texts": "texts", "extents": "extents", "alerts": "alerts", "focused": "focused",
               "press": "pressed", "descriptions": "descriptions", "selection": "selection"}


def respond(pid, req):
    """The answer to one request, retried until the program's objects are
    there or its timeout passes."""
    deadline = time.monotonic() + float(req.get("timeout", 10))
    while True:
        try:
            value, error = answer(pid, req)
        except Exception as e:  # the tree changes while we walk it
            value, error = None, "%s: %s" % (type(e).__name__, e)
        if error is None:
            return {ANSWER_KEYS.get(req["op"], "objects"): value}
        if time.monotonic() >= deadline:
            return {"error": error}
        time.sleep(0.2)


def serve(pid):
    for line in sys.stdin:
        if not line.strip():
            continue
        try:
            reply = respond(pid, json.loads(line))
        except Exception as e:  # a malformed request
            reply = {"error": "%s: %s" % (type(e).__name__, e)}
        sys.stdout.write(json.dumps(reply) + "\n")
        sys.stdout.flush()
    return 0


def main():
    if sys.argv[1] == "--serve":
        return serve(int(sys.argv[2]))
    print(json.dumps(respond(int(sys.argv[1]), json.loads(sys.argv[2]))))
    return 0


if __name__ == "__main__":
    sys.exit(main())
