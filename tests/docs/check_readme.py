#!/usr/bin/env python3
"""The README's quote of the demo's output, and the engineers' pages' links.

The end-to-end test compares the tour's real transcript with
tests/host/expected/example_tour.txt; the README's indented block after
"Its output:" must quote that transcript whole, line for line. Every
relative link of the README and of the PAGES (the pages the README sends
engineers to) must name a file that exists and, with an anchor, a heading
that the target has, as GitHub names it.
Usage: check_readme.py README.md EXPECTED_TOUR_TRANSCRIPT [PAGE.md...]
"""
import importlib.util
import re
import sys
from pathlib import Path

LINK = re.compile(r"\[[^\]]*\]\(([^)\s]+)\)")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
PAGES_TOOL = Path(__file__).resolve().parents[2] / "tools" / "html-pages.py"


def load_pages_tool():
    found = importlib.util.spec_from_file_location("html_pages", PAGES_TOOL)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def link_faults(pages):
    """One line per relative link whose file or anchor is missing."""
    tool, anchors, faults = load_pages_tool(), {}, []
    for page in pages:
        in_code = False
        for number, line in enumerate(page.read_text(encoding="utf-8").split("\n"), 1):
            if line.startswith("```"):
                in_code = not in_code
            if in_code or line.startswith("    "):
                continue
            for url in LINK.findall(re.sub(r"`[^`]*`", "", line)):
                if SCHEME.match(url):
                    continue
                path, _, anchor = url.partition("#")
                target = (page.parent / path).resolve() if path else page.resolve()
                if not target.exists():
                    faults.append(f"{page}:{number}: link {url}: no such file")
                elif anchor:
                    if target not in anchors:
                        anchors[target] = tool.heading_ids(target) if target.suffix == ".md" else set()
                    if anchor not in anchors[target]:
                        faults.append(f"{page}:{number}: link {url}: no heading #{anchor} there")
    return faults


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
    faults = link_faults([Path(p) for p in [argv[1]] + argv[3:]])
    for fault in faults:
        print(fault)
    print(f"{argv[1]} and {len(argv) - 3} more pages: {len(faults)} broken links")
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
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
