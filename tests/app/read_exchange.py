# Reads an exported vCard file with vobject and an exported CSV file with Python's csv module, as
# another program would, and checks that every card's FN and every row's Name is the expected
# name (one a line of the third file, in the files' order). Exit 0 when all agree.
import csv
import sys

import vobject

vcf_path, csv_path, names_path = sys.argv[1:4]
with open(names_path, encoding="utf-8") as f:
    expected = f.read().split("\n")[:-1]
with open(vcf_path, encoding="utf-8", newline="") as f:
    cards = list(vobject.readComponents(f.read()))
with open(csv_path, encoding="utf-8", newline="") as f:
    rows = list(csv.DictReader(f))

failures = []
for what, names in (("vCard FN", [c.fn.value for c in cards]), ("CSV Name", [r["Name"] for r in rows])):
    if len(names) != len(expected):
        failures.append(f"{what}: {len(names)} records, {len(expected)} expected")
    failures += [f"{what} {i + 1}: {got!r} != {want!r}" for i, (got, want) in enumerate(zip(names, expected)) if got != want]
print("\n".join(failures[:20]) or f"{len(cards)} cards and {len(rows)} rows agree")
sys.exit(1 if failures else 0)
