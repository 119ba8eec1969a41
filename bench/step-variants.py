#!/usr/bin/env python3
"""Writes STEP files that read the sheets' text in awkward ways, for import-compare.sh.

Usage: step-variants.py BASE.stp OUTDIR
BASE is an exported sheet (a patch a surface, its 16 points numbered before it). Each variant
keeps the file readable or breaks it in one way: what matters is that two builds of the tool
answer every one alike.
"""
import os
import random
import re
import sys

base_path, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
text = open(base_path, newline="").read()
head, rest = text.split("DATA;\n", 1)
data, tail = rest.split("ENDSEC;\n", 1)
lines = data.splitlines(keepends=True)
points = [l for l in lines if "CARTESIAN_POINT" in l]
others = [l for l in lines if "CARTESIAN_POINT" not in l]
rng = random.Random(7)


def write(name, body_lines, head_=head, tail_=tail, newline="\n"):
    body = head_ + "DATA;\n" + "".join(body_lines) + "ENDSEC;\n" + tail_
    with open(os.path.join(out, name), "w", newline="") as f:
        f.write(body.replace("\n", newline))


def renumber(mapping):
    """Every #n in the data section replaced by #mapping(n)."""
    return [re.sub(r"#(\d+)", lambda m: "#" + mapping(int(m.group(1))), l) for l in lines]


def number_of(line):
    return int(re.match(r"#(\d+)", line).group(1))


write("as-is.stp", lines)
write("crlf.stp", lines, newline="\r\n")
write("lone-cr.stp", lines, newline="\r")
shuffled = lines[:]
rng.shuffle(shuffled)
write("shuffled.stp", shuffled)
write("reversed.stp", lines[::-1])
write("points-last.stp", others + points)
write("points-first-reversed.stp", points[::-1] + others)
perm = list(range(1, 10 * len(lines)))
rng.shuffle(perm)
write("shuffled-numbers.stp", renumber(lambda n: str(perm[n])))
write("numbers-apart.stp", renumber(lambda n: str(1000 * n)))
write("numbers-negative.stp", renumber(lambda n: str(-n)))
write("numbers-leading-zeros.stp", renumber(lambda n: "000" + str(n)))
write("numbers-signed.stp", renumber(lambda n: "+" + str(n)))
write("numbers-offset.stp", renumber(lambda n: str(n + 4_000_000_000)))
write("numbers-huge.stp", renumber(lambda n: str(n + 2**62)))
write("numbers-past-long.stp", renumber(lambda n: str(n) + "00000000000000000000"))
write("numbers-ten-digits.stp", renumber(lambda n: str(n + 1_000_000_000)))
write("numbers-high-then-low.stp", renumber(lambda n: str(n if n < 200 else n + 50_000_000)))

# A number used twice: two points, a point and a surface, a point in each half of the file.
p0, p1 = points[0], points[len(points) // 2]
write("twice-points.stp", lines + [p0])
surface = next(l for l in others if "B_SPLINE_SURFACE_WITH_KNOTS" in l)
write("twice-point-surface.stp",
      lines + ["#%d=CARTESIAN_POINT('',(1.,2.,3.));\n" % number_of(surface)])
write("twice-surface-point.stp",
      lines + [re.sub(r"^#\d+", "#%d" % number_of(p0), surface)])
write("twice-halves.stp", [re.sub(r"^#\d+", "#%d" % number_of(p0), p1) if l is p1 else l
                           for l in lines])
write("twice-header.stp", lines + ["#1=CARTESIAN_POINT('',(1.,2.,3.));\n"])


def each_point(change):
    return [change(l) if "CARTESIAN_POINT" in l else l for l in lines]


write("point-space-before-paren.stp", each_point(lambda l: l.replace("POINT(", "POINT (")))
write("point-space-after-equals.stp", each_point(lambda l: l.replace("=", " = ", 1)))
write("point-tabs.stp", each_point(lambda l: l.replace(",", ",\t").replace("(", "\f(", 1)))
write("point-vertical-tab.stp", each_point(lambda l: l.replace(",", "\v,", 1)))
write("point-comment.stp", each_point(lambda l: l.replace(",(", ",/* a;'b */(")))
write("point-comment-before.stp", each_point(lambda l: "/* c */" + l))
write("point-slash.stp", each_point(lambda l: l.replace("('',", "('a/b',")))
write("point-named.stp", each_point(lambda l: l.replace("('',", "('pt #5; x',")))
write("point-quote-in-name.stp", each_point(lambda l: l.replace("('',", "('it''s',")))
write("point-line-break-in-name.stp", each_point(lambda l: l.replace("('',", "('a\nb',")))
write("point-two-lines.stp", each_point(lambda l: l.replace(",(", ",\n(")))
write("point-huge-coordinates.stp", each_point(lambda l: l.replace("(0.,", "(1.E308,", 1)
                                              .replace("0.,", "1E400,", 1)))
write("point-long-digits.stp", each_point(lambda l: re.sub(r"\((-?\d)", r"(\g<1>.0000000000000000000000000001", l)))
write("point-nan.stp", each_point(lambda l: l.replace("(0.,", "(NAN,", 1)))
write("point-flat.stp", each_point(lambda l: re.sub(r",([^,()]*)\)\)", "))", l)))
write("point-four.stp", each_point(lambda l: l.replace("));", ",0.));")))
write("point-no-name.stp", each_point(lambda l: l.replace("('',", "(")))
write("point-complex.stp", each_point(
    lambda l: re.sub(r"=(CARTESIAN_POINT\(.*\));", r"=(\1GEOMETRIC_REPRESENTATION_ITEM());", l)))
write("point-lowercase.stp", each_point(lambda l: l.replace("CARTESIAN_POINT", "cartesian_point")))
write("point-trailing.stp", each_point(lambda l: l.replace("));", "))x;")))
write("point-string-coordinate.stp", each_point(lambda l: l.replace("(0.,", "('0',", 1)))
write("point-every-other-spaced.stp",
      [l.replace("=", " = ", 1) if "CARTESIAN_POINT" in l and i % 2 else l
       for i, l in enumerate(lines)])
write("surface-complex.stp", [re.sub(
    r"=B_SPLINE_SURFACE_WITH_KNOTS\('surface',3,3,(\(\(.*\)\)),(\.UNSPECIFIED\.,\.F\.,\.F\.,\.F\.),"
    r"(.*)\);",
    r"= ( BOUNDED_SURFACE() B_SPLINE_SURFACE(3,3,\1,\2) B_SPLINE_SURFACE_WITH_KNOTS(\3) "
    r"GEOMETRIC_REPRESENTATION_ITEM() RATIONAL_B_SPLINE_SURFACE(((1.,1.,1.,1.),(1.,1.,1.,1.),"
    r"(1.,1.,1.,1.),(1.,1.,1.,1.))) REPRESENTATION_ITEM('') SURFACE() );", l) for l in lines])
write("surface-comment-in-list.stp",
      [l.replace("),(", "),/* x */(", 1) if "B_SPLINE" in l else l for l in lines])
write("surface-string-in-list.stp",
      [l.replace("),(", "),'s;t',(", 1) if "B_SPLINE" in l else l for l in lines])
write("surface-names-a-surface.stp",
      [l.replace("((#", "((#%d,#" % number_of(surface), 1) if "B_SPLINE" in l else l
       for l in lines])
write("point-names-a-missing.stp",
      [re.sub(r"\(\(#\d+", "((#999999999", l, count=1) if "B_SPLINE" in l else l for l in lines])
write("comment-across-statements.stp", lines[:5] + ["/* " + "".join(lines[5:9]) + " */\n"]
      + lines[9:])
write("string-across-lines.stp", lines[:5] + ["#999998=DESCRIPTIVE_REPRESENTATION_ITEM('a\n"]
      + ["b;c');\n"] + lines[5:])
write("two-data-sections.stp", lines[: len(lines) // 2] + ["ENDSEC;\nDATA;\n"]
      + lines[len(lines) // 2:])
write("no-end.stp", lines, tail_="")
for cut in (0.13, 0.5, 0.77, 0.999):
    body = head + "DATA;\n" + "".join(lines) + "ENDSEC;\n" + tail
    with open(os.path.join(out, "cut-%g.stp" % cut), "w", newline="") as f:
        f.write(body[: int(len(body) * cut)])
# Statements just around the middle, where the index's second core starts reading.
middle = len(lines) // 2
for name, inserted in (("middle-comment.stp", "/* open\n"), ("middle-string.stp", "#999997=A('\n"),
                       ("middle-no-semicolon.stp", "#999996=A(1)\n"),
                       ("middle-endsec.stp", "ENDSEC;\n")):
    write(name, lines[:middle] + [inserted] + lines[middle:])
