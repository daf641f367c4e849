"""Variability (GCVS type, brightest magnitude, period) from a Southern Stars
star list."""
import re

from .csvfile import CsvTable
from .units import BadValue, number

NEEDED_COLUMNS = ('Vtype', 'Vmin', 'Vmax', 'IDs')


def identifiers(text):
    """The semicolon-separated identifiers of an IDs field, without blanks around."""
    return [x.strip() for x in (text or '').split(';')]


def variable_type_code(vtype):
    """The first listed GCVS type without its uncertainty marks ('UV+BY' ->
    'UV'), or None when it is not a type name."""
    code = re.split(r'[+|/ ]', vtype)[0].rstrip(':')
    return code if re.fullmatch(r'[A-Za-z][A-Za-z0-9]*', code) else None


def read_variables(path, date, index, report):
    """Takes variable-star type, range and period from a Southern Stars list,
    matching rows to stars by HIP or Gliese number."""
    table = CsvTable(path)
    if table.header is None or table.missing(NEEDED_COLUMNS):
        report.refuse(f"{path}:1", "not a Southern Stars list: needs columns "
                      f"{', '.join(NEEDED_COLUMNS)}")
        return
    for line, row in table.rows():
        if not row:
            continue
        vtype = table.field(row, 'Vtype')
        if not vtype:
            continue
        star = find_listed_star(index, identifiers(table.field(row, 'IDs')))
        if star is None:
            report.count('variables outside the star catalogue')
            continue
        try:
            brightest = number(table.field(row, 'Vmin'), 'Vmin')
            period = number(table.field(row, 'Vper'), 'Vper')
        except BadValue as e:
            report.reject(path, line, str(e))
            continue
        code = variable_type_code(vtype)
        if code is None:
            report.count('variables of an unnamed type')
        star.variability = (code, brightest, period, date)


def find_listed_star(index, ids):
    """The star of a list row: by its HIP number, else by a Gliese number."""
    for ident in ids:
        if ident.startswith('HIP '):
            star = index.by_hip.get(ident[4:].strip())
            if star:
                return star
    for ident in ids:
        if re.match(r'^(GJ|Gl)\s', ident):
            star = index.gliese(ident)
            if star:
                return star
    return None
