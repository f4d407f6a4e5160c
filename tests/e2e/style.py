"""Prints the colours of one cell of a `tmux capture-pane -e -p` dump as
console colour numbers: "FG BG" (-1 for the terminal's default).

    style.py ROW COL < capture
"""
import re
import sys

# ANSI colour order (red first) to console order (blue first).
CONSOLE = [0, 4, 2, 6, 1, 5, 3, 7]


def cell_style(lines, row, col):
    """The style at (row, col); tmux carries a style over line ends."""
    fg = bg = -1
    bold = False
    for number, line in enumerate(lines[:row], 1):
        fg, bg, bold, found = scan(line, col if number == row else 0, fg, bg, bold)
        if found:
            break
    if bold and 0 <= fg < 8:
        fg += 8
    return fg, bg


def scan(line, col, fg, bg, bold):
    at = 0
    column = 0
    sgr = re.compile(r'\x1b\[([0-9;:]*)m')
    while at < len(line):
        m = sgr.match(line, at)
        if m:
            params = [int(p) if p else 0 for p in re.split('[;:]', m.group(1))] or [0]
            i = 0
            while i < len(params):
                p = params[i]
                if p == 0:
                    fg = bg = -1
                    bold = False
                elif p == 1:
                    bold = True
                elif p == 22:
                    bold = False
                elif 30 <= p <= 37:
                    fg = CONSOLE[p - 30]
                elif p == 39:
                    fg = -1
                elif 40 <= p <= 47:
                    bg = CONSOLE[p - 40]
                elif p == 49:
                    bg = -1
                elif 90 <= p <= 97:
                    fg = CONSOLE[p - 90] + 8
                elif 100 <= p <= 107:
                    bg = CONSOLE[p - 100] + 8
                elif p in (38, 48) and i + 2 < len(params) and params[i + 1] == 5:
                    n = params[i + 2]
                    value = CONSOLE[n] if n < 8 else CONSOLE[n - 8] + 8 if n < 16 else n
                    if p == 38:
                        fg = value
                    else:
                        bg = value
                    i += 2
                i += 1
            at = m.end()
            continue
        if line[at] == '\x1b':   # another sequence: skip it
            m = re.compile(r'\x1b\[[0-9;?]*[A-Za-z]').match(line, at)
            at = m.end() if m else at + 1
            continue
        column += 1
        if column == col:
            return fg, bg, bold, True
        at += 1
    return fg, bg, bold, False


def main():
    row, col = int(sys.argv[1]), int(sys.argv[2])
    lines = sys.stdin.read().split('\n')
    fg, bg = cell_style(lines, row, col)
    print(fg, bg)


if __name__ == '__main__':
    main()
