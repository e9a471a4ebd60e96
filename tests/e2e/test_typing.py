"""Typing into the value boxes of the real program with real key events.

The hue box is checked on every key release and when the focus leaves it
for another control: a wrong hue brings exactly one message box, and neither
the box taking the focus, nor a menu, nor the release of the key that closed
the box counts as leaving the hue box or typing into it. A typed hue moves the strip marks and
renders the field for the hue under them; typed saturation and brightness
move the ring; R, G, B and the new-colour sample then show the pixel under
the ring. Texts are read through the accessibility interface, pictures are
compared with the closed forms in every pixel of the picker region.
"""

import sys
import time

import expected as ex
import harness
from harness import TestFailure

MESSAGE = "Enter an Integer Value Between 0 and 360"


def type_into(app, box, text):
    """Replaces the box's text by `text` typed key by key. The old text is
    selected with the mouse: every key released in the hue box is checked."""
    app.select_text(box)
    app.type(text)


def expect_focus_in(app, box):
    focused = harness.wait_until(lambda: [f for f in app.focused() if f[0] == "text"], 5, 0.1,
                                 "a focused box")
    if focused != [["text", box]]:
        raise TestFailure("the focus is in %s, expected the %s box" % (focused, box))


def wrong_hues(app, picker, shots):
    # One message once the key that makes the hue wrong is released; the
    # release of Return, which closed it, is no typing.
    type_into(app, "Hue", "365")
    app.wait_message(MESSAGE)
    app.close_message("Return")
    app.wait_texts({"Hue": "365"})
    expect_focus_in(app, "Hue")
    print("365: one message, gone after Return, focus still in the box")

    # A negative hue is reset to 0 after the message: the marks go to the
    # strip's bottom and the field is red again.
    type_into(app, "Hue", "-5")
    app.wait_message(MESSAGE)
    app.close_message("Return")
    picker.mark_row = picker.exp.value("mark_row_of_typed_hue", 0)
    picker.hue = picker.exp.hue_strip(picker.mark_row)
    ex.expect(app, "-5 reset to 0", picker.picture(), ex.boxes(0, 100, 100, picker.under_ring()),
              picker.under_ring(), shots, "typing_negative")


def leaving_a_wrong_hue(app):
    type_into(app, "Hue", "400")
    app.wait_message(MESSAGE)
    app.close_message("Return")
    # Tab moves the focus on to the Red box: the hue is checked again, and
    # after the message the focus is back in the Hue box.
    app.key("Tab")
    app.wait_message(MESSAGE)
    app.close_message("Return")
    expect_focus_in(app, "Hue")
    app.wait_texts({"Hue": "400"})
    print("Tab away from 400: one message, focus back in the Hue box")


def no_message_for(app, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if app.message_windows():
            raise TestFailure("%s brought the message box" % what)
        time.sleep(0.05)


def menus_are_not_controls(app):
    # The hue box still holds 400. Opening the File menu and leaving it with
    # Escape moves the keyboard focus to the menu and the menu bar, which
    # are not other controls of the window: no message.
    app.click_object("File", ["menu item"])
    harness.wait_until(lambda: app.showing("Exit", "menu item"), 5, 0.1, "the File menu open")
    no_message_for(app, 0.5, "opening the File menu")
    app.key("Escape")
    harness.wait_until(lambda: not app.showing("Exit", "menu item"), 5, 0.1, "the File menu closed")
    no_message_for(app, 1.0, "closing the File menu with Escape")
    app.key("Escape")
    no_message_for(app, 1.0, "leaving the menu bar with Escape")
    expect_focus_in(app, "Hue")
    app.wait_texts({"Hue": "400"})
    print("File menu opened and left with a wrong hue: no message, focus back in the Hue box")


def typed_values(app, picker, shots):
    # Hue 180 puts the strip position at 137.5: marks and the hue read on
    # row 138 (nearest, ties to even).
    type_into(app, "Hue", "180")
    picker.mark_row = picker.exp.value("mark_row_of_typed_hue", 180)
    picker.hue = picker.exp.hue_strip(picker.mark_row)
    s, b = 100, 100
    ex.expect(app, "hue 180", picker.picture(), ex.boxes(180, s, b, picker.under_ring()),
              picker.under_ring(), shots, "typing_hue180")

    # Saturation 50 puts the ring at x 137.5 -> 138, brightness 30 at
    # y 188.5 -> 188, saturation 30 at x 86.5 -> 86 (ties to even).
    for box, value in (("Saturation", 50), ("Brightness", 30), ("Saturation", 30)):
        type_into(app, box, str(value))
        x, y = picker.ring
        if box == "Saturation":
            s, x = value, picker.exp.value("field_x_of_percent", value)
        else:
            b, y = value, picker.exp.value("field_y_of_percent", value)
        picker.ring = (x, y)
        ex.expect(app, "%s %d" % (box.lower(), value), picker.picture(), ex.boxes(180, s, b, picker.under_ring()),
                  picker.under_ring(), shots, "typing_%s%d" % (box.lower(), value))

    # The R, G and B boxes are outputs: typing there changes nothing else.
    type_into(app, "Red", "7")
    app.settle()
    ex.expect(app, "typing 7 into the Red box", picker.picture(),
              dict(ex.boxes(180, s, b, picker.under_ring()), Red="7"), picker.under_ring(), shots, "typing_red")


def tab_into_the_hue_box(app, picker, shots):
    """A key pressed in another box and released in the hue box runs the hue
    box's handler: the marks follow the typed hue."""
    # The boxes hold H 180, S 30, B 30. Saturation mode and back puts the
    # marks at floor(137.5) = 137; the hue box's own rule puts them at 138.
    app.click_object("Saturation", ["radio button"])
    app.click_object("Hue", ["radio button"])
    picker.mark_row = picker.exp.value("mark_row_of_switched_hue", 180)
    picker.hue = picker.exp.hue_strip(picker.mark_row)
    # (A switch leaves the R, G and B boxes as they were.)
    ex.expect(app, "back to hue mode with hue 180", picker.picture(), None, picker.under_ring(), shots,
              "typing_switched180")
    # A click in the saturation box (no key there), then Tab: pressed in
    # the saturation box, released in the hue box.
    app.click_object("Saturation", ["text"])
    expect_focus_in(app, "Saturation")
    app.key("Tab")
    expect_focus_in(app, "Hue")
    picker.mark_row = picker.exp.value("mark_row_of_typed_hue", 180)
    picker.hue = picker.exp.hue_strip(picker.mark_row)
    ex.expect(app, "Tab from the saturation box into the hue box", picker.picture(),
              ex.boxes(180, 30, 30, picker.under_ring()), picker.under_ring(), shots, "typing_tab_into_hue")


def test(args):
    with ex.started(args) as (exp, app):
        picker = ex.Picker(exp)
        wrong_hues(app, picker, args.shots)
        leaving_a_wrong_hue(app)
        menus_are_not_controls(app)
        typed_values(app, picker, args.shots)
        tab_into_the_hue_box(app, picker, args.shots)


if __name__ == "__main__":
    sys.exit(harness.main(test))
