"""Finding stars of the star catalogue by designation or by sky position."""
import math
import re

from .designations import gliese_key


class Index:
    """Finds stars by catalogue designation (the first star that holds it)."""

    def __init__(self, stars):
        self.by_hip, self.by_hd, self.by_hr, self.by_gliese = {}, {}, {}, {}
        for s in stars.values():
            self.add(s)

    def add(self, s):
        """Makes star s findable by its designations, unless another star holds them."""
        if s.hip:
            self.by_hip.setdefault(s.hip, s)
        if s.hd:
            self.by_hd.setdefault(s.hd, s)
        if s.hr:
            self.by_hr.setdefault(s.hr, s)
        key = gliese_key(s.gl)
        if key:
            self.by_gliese.setdefault(key, s)

    def gliese(self, designation, allow_a=True):
        """The star of a Gliese designation; 'GJ 451' also finds 'Gl 451A'."""
        key = gliese_key(designation)
        if not key:
            return None
        star = self.by_gliese.get(key)
        if star is None and allow_a and key[-1:].isdigit():
            star = self.by_gliese.get(key + 'A')
        return star

    def designation(self, text):
        """A star by 'HIP n', 'HD n', 'HR n' or a Gliese designation."""
        text = (text or '').strip()
        m = re.match(r'^(HIP|HD|HR)\s*(\d+)$', text)
        if m:
            table = {'HIP': self.by_hip, 'HD': self.by_hd, 'HR': self.by_hr}[m.group(1)]
            return table.get(m.group(2))
        return self.gliese(text)


class SkyGrid:
    """Stars on a half-degree grid, for finding the nearest to a sky position.
    Each star is kept with its catalogue position (2000) and its position
    moved by its proper motion to epoch, as other catalogues use either."""

    CELL = 0.5     # degrees

    def __init__(self, stars, epoch):
        self.cells = {}
        for s in stars.values():
            ra, dec = s.ra * 15.0, s.dec
            moved = self.position(s, epoch)
            key = (math.floor(dec / self.CELL), math.floor(ra / self.CELL))
            self.cells.setdefault(key, []).append(((ra, dec), moved, s))

    @staticmethod
    def position(s, epoch):
        """The star's position (degrees) moved by its proper motion from 2000 to epoch."""
        ra, dec = s.ra * 15.0, s.dec
        if s.pm_ra is not None:
            dt = epoch - 2000.0
            cosd = max(math.cos(math.radians(dec)), 1e-6)
            ra += s.pm_ra / 3.6e6 * dt / cosd
            dec += s.pm_dec / 3.6e6 * dt
        return ra % 360.0, max(-90.0, min(90.0, dec))

    def near(self, ra, dec):
        """Yields ((ra, dec) in 2000, (ra, dec) at the epoch, star) of every star
        within about a degree of (ra, dec) (degrees)."""
        row = math.floor(dec / self.CELL)
        columns = int(360 / self.CELL)
        cosd = math.cos(math.radians(min(89.9, abs(dec) + self.CELL)))
        reach = min(columns // 2, 1 + int(math.ceil(1 / max(cosd, 1e-3))))
        col = math.floor(ra / self.CELL)
        for r in (row - 1, row, row + 1):
            for c in range(col - reach, col + reach + 1):
                yield from self.cells.get((r, c % columns), ())
