"""python3 -m vldr_import OUT.db --hyg STARS.csv ...: see the package's help."""
import sys

from .cli import run

sys.exit(run(sys.argv[1:]))
