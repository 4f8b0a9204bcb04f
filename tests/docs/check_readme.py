#!/usr/bin/env python3
"""The README's quote of the demo's output against the tour's transcript.

The end-to-end test compares the tour's real transcript with
tests/host/expected/example_tour.txt; the README's indented block after
"Its output:" must quote that transcript whole, line for line.
Usage: check_readme.py README.md EXPECTED_TOUR_TRANSCRIPT
"""
import sys
from pathlib import Path


def demo_block(readme):
    lines = Path(readme).read_text(encoding="utf-8").split("\n")
    start = next((i for i, line in enumerate(lines) if line.rstrip().endswith("Its output:")), None)
    if start is None:
        return None
    block = []
    for line in lines[start + 1:]:
        if line.startswith("    "):
            block.append(line[4:])
        elif block:
            break  # the first line that is not indented ends the block
    return block


def main(argv):
    block = demo_block(argv[1])
    expected = Path(argv[2]).read_text(encoding="latin-1").rstrip("\n").split("\n")
    if block is None:
        print(f"{argv[1]}: no demo output block (a line ending in 'Its output:')")
        return 1
    if block != expected:
        for k in range(max(len(block), len(expected))):
            got = block[k] if k < len(block) else "<missing>"
            want = expected[k] if k < len(expected) else "<missing>"
            if got != want:
                print(f"{argv[1]}: demo output line {k + 1} is {got!r}, the tour prints {want!r}")
                break
        return 1
    print(f"{argv[1]}: the demo output quotes the tour's {len(expected)} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
