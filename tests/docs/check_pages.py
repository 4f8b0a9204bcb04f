#!/usr/bin/env python3
"""Compares the reference pages with what the DLL registers and writes.

Inputs are three outputs of a run under Wine: the catalogue dump (each
action's id, name, count and hint), VelHost's `list`, and the transcript of
VelHost running reference.vel with the autopilot. Every quoted hint, action
or variable name, parameter name and order of written variables in the pages
must agree with them; every hint and every order of variables must be quoted
somewhere. Prints one line per disagreement and exits 1 if there is any.
"""
import re
import sys
from pathlib import Path

NAME_PATTERN = re.compile(r"\b(?:xr|XR)_(?:Dialogs|DIALOGS)_\w+|\bxr_Date\w*")
FENCE = re.compile(r"^```(\S*)\s*$")
VAR_LINE = re.compile(r'^var (\S+) = "')
PARAM_LINE = re.compile(r'^param (.+?) = "')
EDIT_LINE = re.compile(r"^edit (\S+) returned \d+$")
ROW = re.compile(r"^\|\s*(\d+)\s*\|\s*`([^`]+)`\s*\|")
IMAGE = re.compile(r"!\[[^\]]*\]\(([^)]+)\)")


def read_catalogue(path):
    """id -> dict(name, count, description, usage) from catalogue_dump."""
    lines = Path(path).read_text(encoding="latin-1").replace("\r", "").split("\n")
    actions = {}
    i = 0
    while i < len(lines):
        m = re.match(r"^action (\d+) (\S+) (\d+)$", lines[i])
        if m:
            actions[int(m[1])] = dict(name=m[2], count=int(m[3]),
                                      description=lines[i + 1], usage=lines[i + 2])
            i += 3
        else:
            i += 1
    return actions


def read_list(path):
    """name -> (action line, [parameter lines]) from VelHost list."""
    blocks = {}
    current = None
    for line in Path(path).read_text(encoding="latin-1").replace("\r", "").split("\n"):
        m = re.match(r"^action \d+ (\S+) ", line)
        if m:
            current = m[1]
            blocks[current] = (line, [])
        elif line.startswith("  parameter ") and current:
            blocks[current][1].append(line)
    return blocks


def read_sequences(path):
    """Every run of consecutive `var` lines in the transcript, as name tuples."""
    runs, run = [], []
    for line in Path(path).read_text(encoding="latin-1").replace("\r", "").split("\n"):
        m = VAR_LINE.match(line)
        if m:
            run.append(m[1])
            continue
        if run:
            runs.append(tuple(run))
        run = []
    if run:
        runs.append(tuple(run))
    return runs


def usage_names(usage):
    return re.findall(r'"([^"]*)"', usage)


def code_blocks(text):
    """(info string, [lines], first line number) of each fenced block."""
    blocks, info, lines, start = [], None, [], 0
    for number, line in enumerate(text.split("\n"), 1):
        m = FENCE.match(line)
        if m and info is None:
            info, lines, start = m[1], [], number + 1
        elif line.startswith("```") and info is not None:
            blocks.append((info, lines, start))
            info = None
        elif info is not None:
            lines.append(line)
    return blocks


def main(argv):
    catalogue = read_catalogue(argv[1])
    listed = read_list(argv[2])
    sequences = read_sequences(argv[3])
    pages = [Path(p) for p in argv[4:]]
    errors = []

    if len(catalogue) != 7:
        errors.append(f"{argv[1]}: expected 7 actions, the dump has {len(catalogue)}")
    by_name = {a["name"].lower(): a for a in catalogue.values()}
    variables = {name for seq in sequences for name in seq}
    known_names = set(variables)
    for a in catalogue.values():
        known_names |= {a["name"], a["name"].upper(), a["usage"].split(" ")[0]}
        # The host's list must name the same parameters as the hint.
        block = listed.get(a["name"])
        shown = [l.split(": ", 1)[1] for l in block[1]] if block else None
        if shown != usage_names(a["usage"]) and not (shown == [] and a["count"] == 0):
            errors.append(f"VelHost list shows {shown} for {a['name']}, the hint {usage_names(a['usage'])}")

    hints_quoted = set()
    sequences_quoted = set()
    for page in pages:
        text = page.read_text(encoding="utf-8")
        page_action = None
        for info, lines, start in code_blocks(text):
            if info == "hint":
                if len(lines) != 2:
                    errors.append(f"{page}:{start}: a hint block has two lines, not {len(lines)}")
                    continue
                action = by_name.get(lines[1].split(" ")[0].lower())
                if not action:
                    errors.append(f"{page}:{start + 1}: no action is named {lines[1].split(' ')[0]}")
                    continue
                page_action = page_action or action
                if lines[0].rstrip() != action["description"].rstrip():
                    errors.append(f"{page}:{start}: description {lines[0]!r}, the DLL registers {action['description']!r}")
                if lines[1] != action["usage"]:
                    errors.append(f"{page}:{start + 1}: usage {lines[1]!r}, the DLL registers {action['usage']!r}")
                else:
                    hints_quoted.add(action["name"])
                continue
            run, run_start = [], 0
            edited, params = None, []
            for offset, line in enumerate(lines + [""]):
                m = VAR_LINE.match(line)
                if m:
                    run_start = run_start if run else start + offset
                    run.append(m[1])
                    continue
                if run:
                    if tuple(run) in sequences:
                        sequences_quoted.add(tuple(run))
                    else:
                        errors.append(f"{page}:{run_start}: variables {run} are not an order the DLL writes in")
                    run = []
                m = EDIT_LINE.match(line)
                if m:
                    edited, params = by_name.get(m[1].lower()), []
                    continue
                m = PARAM_LINE.match(line)
                if m and edited:
                    params.append(m[1])
                    want = usage_names(edited["usage"])
                    if len(params) > len(want) or want[len(params) - 1] != m[1]:
                        errors.append(f"{page}:{start + offset}: parameter {len(params)} of {edited['name']} is {want[len(params) - 1] if len(params) <= len(want) else 'missing'}, not {m[1]!r}")
                m = re.match(r"^action \d+ (\S+) ", line)
                if m and (m[1] not in listed or listed[m[1]][0] != line):
                    errors.append(f"{page}:{start + offset}: VelHost list does not show {line!r}")
                if line.startswith("  parameter "):
                    if not any(line in block[1] for block in listed.values()):
                        errors.append(f"{page}:{start + offset}: VelHost list does not show {line!r}")

        for number, line in enumerate(text.split("\n"), 1):
            for name in NAME_PATTERN.findall(line):
                if name not in known_names:
                    errors.append(f"{page}:{number}: {name} is neither an action nor a variable the DLL writes")
            # A numbered parameter row of an action page names its parameter.
            m = ROW.match(line)
            if m and page_action and not m[2].startswith(("xr_", "XR_")):
                want = usage_names(page_action["usage"])
                k = int(m[1])
                if not 1 <= k <= len(want) or want[k - 1] != m[2]:
                    errors.append(f"{page}:{number}: parameter {k} of {page_action['name']} is {want[k - 1] if 1 <= k <= len(want) else 'missing'}, not {m[2]!r}")
            for target in IMAGE.findall(line):
                if not (page.parent / target).is_file():
                    errors.append(f"{page}:{number}: picture {target} is missing")

    for a in catalogue.values():
        if a["name"] not in hints_quoted:
            errors.append(f"no page quotes the hint of {a['name']}")
    for seq in set(sequences):
        if seq not in sequences_quoted:
            errors.append(f"no page quotes the variables written in the order {list(seq)}")

    for e in errors:
        print(e)
    print(f"checked {len(pages)} pages: {len(catalogue)} hints, {len(set(sequences))} orders of variables, {len(errors)} disagreements")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
