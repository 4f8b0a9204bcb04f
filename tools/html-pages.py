#!/usr/bin/env python3
"""Turns the Markdown pages of an unpacked release package into HTML.

Usage: html-pages.py PACKAGE_DIR VERSION

Every FILE.md in the package becomes FILE.html beside it (the Markdown is
removed), rendered by cmark-gfm with GitHub's tables; docs/README.md is also
rendered as index.html at the top, the reference's start page. Headings get
the ids GitHub gives them, so links with anchors keep working; relative
links to .md pages point to their .html, rebased for a page that moved. The
pages use docs/style.css and nothing from the network. The output depends
on the pages alone, so the package stays byte for byte reproducible.
"""
import html
import posixpath
import re
import subprocess
import sys
from pathlib import Path

HEADING = re.compile(r"<h([1-6])>(.*?)</h\1>", re.S)
URL_ATTRIBUTE = re.compile(r'\b(href|src)="([^"]*)"')
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
STYLESHEET = "docs/style.css"
START_PAGE = ("docs/README.md", "index.html")

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} - VelDialogs {version}</title>
<link rel="stylesheet" href="{stylesheet}">
</head>
<body>
<nav><a href="{start}">VelDialogs {version} reference</a></nav>
<main>
{body}</main>
</body>
</html>
"""


def slug(text, used):
    """GitHub's anchor for a heading's text: lower case, punctuation dropped,
    spaces made hyphens, and -1, -2... for a repeated heading."""
    base = re.sub(r"[^\w\- ]", "", text.strip().lower()).replace(" ", "-")
    anchor, n = base, 0
    while anchor in used:
        n += 1
        anchor = f"{base}-{n}"
    used.add(anchor)
    return anchor


def heading_text(inner):
    return html.unescape(re.sub(r"<[^>]+>", "", inner))


def add_heading_ids(body):
    used = set()

    def one(m):
        anchor = slug(heading_text(m[2]), used)
        return f'<h{m[1]} id="{html.escape(anchor)}">{m[2]}</h{m[1]}>'
    return HEADING.sub(one, body)


def relink(body, source, output):
    """Relative URLs of the page at SOURCE, written to OUTPUT: .md pages are
    their .html, and a page that moved keeps pointing at the same files."""
    source_dir, output_dir = posixpath.dirname(source), posixpath.dirname(output)

    def one(m):
        url = html.unescape(m[2])
        if not url or url.startswith(("#", "/")) or SCHEME.match(url):
            return m[0]
        path, hash_, fragment = url.partition("#")
        target = posixpath.normpath(posixpath.join(source_dir, path))
        if target.endswith(".md"):
            target = START_PAGE[1] if target == START_PAGE[0] and output == START_PAGE[1] \
                else target[:-3] + ".html"
        new = posixpath.relpath(target, output_dir or ".") + hash_ + fragment
        return f'{m[1]}="{html.escape(new)}"'
    return URL_ATTRIBUTE.sub(one, body)


def to_html(markdown):
    """The page's body as GitHub shows it: cmark-gfm, then the heading ids."""
    body = subprocess.run(["cmark-gfm", "--validate-utf8", "-e", "table", "-e", "autolink",
                           "-e", "strikethrough"], input=markdown, capture_output=True,
                          check=True).stdout.decode("utf-8")
    return add_heading_ids(body)


def heading_ids(path):
    """The anchors that the Markdown page at PATH has."""
    return set(re.findall(r'<h[1-6] id="([^"]*)"', to_html(Path(path).read_bytes())))


def render(package, source, output, version):
    body = relink(to_html((package / source).read_bytes()), source, output)
    first = HEADING.search(body)
    title = heading_text(first[2]) if first else posixpath.basename(source)
    here = posixpath.dirname(output) or "."
    text = PAGE.format(title=html.escape(title, quote=False), version=version, body=body,
                       stylesheet=posixpath.relpath(STYLESHEET, here),
                       start=posixpath.relpath(START_PAGE[1], here))
    (package / output).write_text(text, encoding="utf-8", newline="\n")


def main(argv):
    package, version = Path(argv[1]), argv[2]
    sources = sorted(p.relative_to(package).as_posix() for p in package.rglob("*.md"))
    if START_PAGE[0] not in sources:
        print(f"{package}: no {START_PAGE[0]}, the reference's start page", file=sys.stderr)
        return 1
    render(package, START_PAGE[0], START_PAGE[1], version)
    for source in sources:
        render(package, source, source[:-3] + ".html", version)
    for source in sources:
        (package / source).unlink()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
