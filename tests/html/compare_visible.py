#!/usr/bin/env python3
"""Every file-name and notice line of a text report must appear, as text a
reader sees, in the DOM a browser made of the HTML report.

    compare_visible.py REPORT.txt DOM.html
"""
import html.parser
import re
import sys


class Text(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.parts = []

    def handle_data(self, data):
        self.parts.append(data)


def norm(s):
    # The HTML forms of some long notices name their line where the text
    # forms do not: the line numbers are left out of the comparison.
    s = re.sub(r"\s+", " ", s)
    s = re.sub(r"\bLine:? \d+[:,]?", "", s)
    return re.sub(r"\s+", " ", s).strip()


# The text report is read as the browser reads the page: UTF-8, and a byte
# that is not UTF-8 as the Latin-1 character of its value.
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-8", errors="surrogateescape")
text = "".join(chr(ord(c) - 0xDC00) if 0xDC80 <= ord(c) <= 0xDCFF else c
               for c in text)
parser = Text()
parser.feed(open(sys.argv[2], encoding="utf-8").read())
seen = norm("".join(parser.parts))

wanted = [norm(l) for l in text.splitlines()
          if re.search(r"File: |Notice #|Notice #\s*\d+|\(\d+\) : Notice", l)]
missing = [w for w in wanted if w not in seen]
for m in missing[:20]:
    print("not shown:", m)
if not wanted:
    print("no file or notice lines in the text report")
    sys.exit(1)
print(f"{len(wanted) - len(missing)}/{len(wanted)} lines shown")
sys.exit(1 if missing else 0)
