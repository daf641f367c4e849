"""The census: within the reach of the modern lists (the Gaia-era 10-parsec
sample and the brown-dwarf list) a star is in the database only when one of
them confirms it. A star of the star catalogue that no modern list matched
(by an identifier, or by position within MATCH_ARCSEC plus MATCH_MOTION_YEARS
of proper motion at a distance within MATCH_DISTANCE, see nearest.py) rests
on an old distance alone: it is left out and reported with its reason.
Beyond that reach, and when no modern list is given, the star catalogue
stands as it is."""
from .nearest import MATCH_ARCSEC, MATCH_DISTANCE, MATCH_MOTION_YEARS, describe


def confirmed(star):
    """Whether a modern list holds the star (or it is the Sun)."""
    return bool(star.listed or star.brown_dwarf) or star.dist == 0.0


def leave_out_unconfirmed(stars, reach, hyg_path, report):
    """Removes from stars every star within reach (parsecs) that no modern
    list confirms, with a 'rejected' line each; returns how many."""
    left_out = 0
    for hyg_id in [i for i, s in stars.items()
                   if s.dist is not None and s.dist <= reach and not confirmed(s)]:
        s = stars.pop(hyg_id)
        report.reject(hyg_path, s.line,
                      f"{describe(s)} at {s.dist:g} pc: no modern list confirms it (none holds it by "
                      f"HIP, HD or Gliese number, nor within {MATCH_ARCSEC:g}\" plus "
                      f"{MATCH_MOTION_YEARS:g} years of its proper motion at a distance within "
                      f"{100 * MATCH_DISTANCE:g} %); left out of the census within {reach:g} pc")
        left_out += 1
    report.count('stars no modern list confirms', left_out)
    return left_out
