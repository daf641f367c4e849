"""The import report: every row left out, every value changed or doubted, and
the counts for the summary.

Lines go to one stream (standard error) as FILE:LINE: kind: reason, so an
editor can jump to the row. The summary of counts is written by the command
line (cli.py) from the counters kept here.
"""
import sys


class Report:
    """Collects what the import could not use and the counts for the summary."""

    def __init__(self, stream=sys.stderr):
        self.stream = stream
        self.rejected = 0
        self.warnings = 0
        self.transliterated = 0
        self.truncated = 0
        self.declination_sign_lost = 0
        self.overrides = 0
        self.conflicts = 0
        self.implausible = 0
        self.counts = {}

    def reject(self, path, line, reason):
        """A row that was left out entirely."""
        self.rejected += 1
        print(f"{path}:{line}: rejected: {reason}", file=self.stream)

    def warn(self, path, line, reason):
        """A row that was kept with something changed or left out."""
        self.warnings += 1
        print(f"{path}:{line}: warning: {reason}", file=self.stream)

    def override(self, path, line, what):
        """Values of the star catalogue replaced by those of a more recent list."""
        self.overrides += 1
        print(f"{path}:{line}: override: {what}", file=self.stream)

    def conflict(self, path, line, what):
        """Two catalogues that differ by more than their stated tolerance."""
        self.conflicts += 1
        print(f"{path}:{line}: conflict: {what}", file=self.stream)

    def refuse(self, where, reason):
        """A whole input (or the output) that cannot be used: 'where' is
        FILE:LINE or FILE. Not counted: the import stops or skips the file."""
        print(f"{where}: {reason}", file=self.stream)

    def count(self, name, amount=1):
        """Adds amount to the summary counter called name."""
        self.counts[name] = self.counts.get(name, 0) + amount
