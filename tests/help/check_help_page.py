#!/usr/bin/env python3
"""Checks a help page: it parses as HTML5 without a single error, and every link and anchor
inside it resolves (fragments to ids of the page, relative paths to files beside it). The page
must stand alone: no resource from the network."""
import os
import sys
import urllib.parse

import html5lib

NS = "{http://www.w3.org/1999/xhtml}"


def problems_of(path):
    with open(path, "rb") as f:
        data = f.read()
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=True)
    try:
        tree = parser.parse(data)
    except html5lib.html5parser.ParseError as error:
        return ["not valid HTML5: %s" % error]

    found = []
    ids = {}
    for element in tree.iter():
        if element.get("id") is not None:
            ident = element.get("id")
            if ident in ids:
                found.append("duplicate id %r" % ident)
            ids[ident] = element
    html = tree if tree.tag == NS + "html" else tree.find(NS + "html")
    if html is None or not html.get("lang"):
        found.append("the html element has no lang")
    if tree.find(".//%stitle" % NS) is None or not tree.find(".//%stitle" % NS).text:
        found.append("the page has no title")

    folder = os.path.dirname(os.path.abspath(path))
    for element in tree.iter():
        for attribute in ("href", "src"):
            target = element.get(attribute)
            if target is None:
                continue
            url = urllib.parse.urlsplit(target)
            if url.scheme or url.netloc:
                found.append("%s=%r leaves the page's folder" % (attribute, target))
            elif url.path:
                if not os.path.isfile(os.path.join(folder, urllib.parse.unquote(url.path))):
                    found.append("%s=%r names no file" % (attribute, target))
            elif url.fragment and url.fragment not in ids:
                found.append("%s=%r names no anchor" % (attribute, target))
    return found


def main():
    if len(sys.argv) != 2:
        print("usage: check_help_page.py PAGE", file=sys.stderr)
        return 2
    found = problems_of(sys.argv[1])
    for problem in found:
        print("%s: %s" % (sys.argv[1], problem))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
