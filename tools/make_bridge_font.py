#!/usr/bin/python3
"""Generates bridge.ttf, the suit-symbol font "Bridge" the printouts draw with.

Usage: make_bridge_font.py OUTPUT.ttf [DejaVuSans.ttf]

Suit symbols, card ranks, seat letters, digits and the marks come from
DejaVu Sans (outlines only, re-drawn through pens so that none of its hinting
is carried over); the notrump sign, the logo emblem, the arrow and the
no-contract mark are drawn here. Ranks and digits are narrowed so that a
thirteen-card suit fits the small handout diagrams.
"""

import math
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.misc.timeTools import timestampFromString
from fontTools.ttLib import TTFont

UPM = 2048
ASCENT, DESCENT = 1901, -483   # DejaVu's, so the cell is the usual one
RANK_SCALE_X = 0.72            # narrowed ranks, digits and letters
SUIT_SCALE = 0.85

DEFAULT_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


class Source:
    def __init__(self, path):
        self.font = TTFont(path)
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()

    def record(self, codepoint):
        name = self.cmap[codepoint]
        pen = DecomposingRecordingPen(self.glyphs)
        self.glyphs[name].draw(pen)
        return pen, self.font["hmtx"][name][0]

    def bounds(self, codepoint):
        g = self.font["glyf"][self.cmap[codepoint]]
        return g.xMin, g.yMin, g.xMax, g.yMax

    def name(self, name_id):
        return self.font["name"].getDebugName(name_id)


def draw_source(pen, source, codepoint, sx, sy, dx, dy):
    recording, _ = source.record(codepoint)
    recording.replay(TransformPen(pen, (sx, 0, 0, sy, dx, dy)))


def rect(pen, x0, y0, x1, y1):
    # Clockwise in y-up coordinates: the TrueType direction of a filled area.
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def circle(pen, cx, cy, r, clockwise=True):
    # Eight quadratic arcs; off-curve points sit at r / cos(22.5 degrees).
    n = 8
    step = -2 * math.pi / n if clockwise else 2 * math.pi / n
    off = r / math.cos(math.pi / n)
    pen.moveTo((round(cx + r), round(cy)))
    for i in range(n):
        a_mid = (i + 0.5) * step
        a_end = (i + 1) * step
        control = (round(cx + off * math.cos(a_mid)), round(cy + off * math.sin(a_mid)))
        end = (round(cx + r * math.cos(a_end)), round(cy + r * math.sin(a_end)))
        if i == n - 1:
            pen.qCurveTo(control, (round(cx + r), round(cy)))
        else:
            pen.qCurveTo(control, end)
    pen.closePath()


def polygon(pen, points):
    pen.moveTo(points[0])
    for p in points[1:]:
        pen.lineTo(p)
    pen.closePath()


def build(output, source_path):
    src = Source(source_path)
    glyphs = {}     # glyph name -> (TTGlyph, advance)
    cmap = {}

    def finish(name, pen, advance, chars):
        glyphs[name] = (pen.glyph(), int(round(advance)))
        for ch in chars:
            cmap[ord(ch)] = name

    # .notdef: an empty box.
    pen = TTGlyphPen(None)
    rect(pen, 100, 0, 900, 1400)
    rect_inner = [(200, 100), (800, 100), (800, 1300), (200, 1300)]
    polygon(pen, rect_inner)   # counter-clockwise: the hole
    glyphs[".notdef"] = (pen.glyph(), 1000)

    pen = TTGlyphPen(None)
    finish("space", pen, 651 * RANK_SCALE_X, " ")

    # Suit symbols: a spade, b heart, c diamond, d club.
    suits = [("spade", "a", 0x2660), ("heart", "b", 0x2665),
             ("diamond", "c", 0x2666), ("club", "d", 0x2663)]
    side = 30
    for name, ch, cp in suits:
        x0, _, x1, _ = src.bounds(cp)
        pen = TTGlyphPen(None)
        draw_source(pen, src, cp, SUIT_SCALE, SUIT_SCALE, side - x0 * SUIT_SCALE, 0)
        finish(name, pen, (x1 - x0) * SUIT_SCALE + 2 * side, ch)

    # Card ranks, seat letters and digits, narrowed.
    for ch in "AKQJT98765432NSEW1":
        cp = ord(ch)
        _, advance = src.record(cp)
        pen = TTGlyphPen(None)
        draw_source(pen, src, cp, RANK_SCALE_X, 1.0, 0, 0)
        finish("rank_" + ch if ch.isdigit() else ch, pen, advance * RANK_SCALE_X, ch)

    # Void mark and cut mark. The void mark is raised to the baseline so
    # that it reads as part of its own suit line, not the one below.
    for name, ch, rise in (("underscore", "_", 400), ("hyphen", "-", 0)):
        _, advance = src.record(ord(ch))
        pen = TTGlyphPen(None)
        draw_source(pen, src, ord(ch), RANK_SCALE_X, 1.0, 0, rise)
        finish(name, pen, advance * RANK_SCALE_X, ch)

    # n: notrump sign, a compact "NT" of suit height.
    pen = TTGlyphPen(None)
    sx, sy = 0.42, 0.82
    nx0, _, nx1, _ = src.bounds(ord("N"))
    tx0, _, tx1, _ = src.bounds(ord("T"))
    left = 40
    draw_source(pen, src, ord("N"), sx, sy, left - nx0 * sx, 0)
    tleft = left + (nx1 - nx0) * sx + 30
    draw_source(pen, src, ord("T"), sx, sy, tleft - tx0 * sx, 0)
    finish("notrump", pen, tleft + (tx1 - tx0) * sx + 40, "n")

    # z: the logo emblem, a ring with the four suits round its centre like a
    # compass, sized to stand beside the three logo lines.
    pen = TTGlyphPen(None)
    cx, cy, r_out, r_in = 490, 940, 450, 392
    circle(pen, cx, cy, r_out, clockwise=True)
    circle(pen, cx, cy, r_in, clockwise=False)
    small = 0.17
    offsets = {"spade": (0, 1), "heart": (1, 0), "diamond": (0, -1), "club": (-1, 0)}
    for name, _, cp in suits:
        x0, y0, x1, y1 = src.bounds(cp)
        w, h = (x1 - x0) * small, (y1 - y0) * small
        ox, oy = offsets[name]
        px = cx + ox * 232 - w / 2
        py = cy + oy * 232 - h / 2
        draw_source(pen, src, cp, small, small, px - x0 * small, py - y0 * small)
    finish("emblem", pen, 1000, "z")

    # ^: the arrow above the compass cross, standing high in the cell so it
    # clears the cross below it.
    pen = TTGlyphPen(None)
    mid, half_head, half_shaft = 380, 300, 55
    polygon(pen, [(mid - half_shaft, 760), (mid - half_shaft, 1380), (mid - half_head, 1380),
                  (mid, 1820), (mid + half_head, 1380), (mid + half_shaft, 1380),
                  (mid + half_shaft, 760)])
    finish("arrow", pen, 2 * mid, "^")

    # `: the no-contract mark, a short dash at digit mid-height.
    pen = TTGlyphPen(None)
    rect(pen, 0, 690, 390, 800)
    finish("nomake", pen, 450, "`")

    order = [".notdef"] + sorted(n for n in glyphs if n != ".notdef")
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf({n: glyphs[n][0] for n in order})
    glyf = fb.font["glyf"]
    metrics = {}
    for n in order:
        g = glyf[n]
        g.recalcBounds(glyf)
        metrics[n] = (glyphs[n][1], getattr(g, "xMin", 0) if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT)
    fb.setupNameTable({
        "copyright": src.name(0),
        "familyName": "Bridge",
        "styleName": "Regular",
        "uniqueFontIdentifier": "Bridge-Regular",
        "fullName": "Bridge",
        "version": "Version 1.0",
        "psName": "Bridge-Regular",
        "licenseDescription": src.name(13),
    })
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=-DESCENT, fsType=0,
                achVendID="KELM", usWeightClass=400)
    fb.setupPost()
    # A fixed date keeps the file the same from build to build.
    stamp = timestampFromString("Sat Jan  1 00:00:00 2022")
    fb.setupHead(unitsPerEm=UPM, created=stamp, modified=stamp)

    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temporary = output + ".tmp"
    fb.save(temporary)
    os.replace(temporary, output)


def main():
    if len(sys.argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    build(sys.argv[1], sys.argv[2] if len(sys.argv) == 3 else DEFAULT_SOURCE)
    return 0


if __name__ == "__main__":
    sys.exit(main())
