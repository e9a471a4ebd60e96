"""The two ways an end-to-end check can go wrong."""


class HarnessError(Exception):
    """Something around the program failed (not a finding about the program)."""


class TestFailure(Exception):
    """The program did not behave as expected."""
