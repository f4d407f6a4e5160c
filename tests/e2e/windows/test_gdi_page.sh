#!/usr/bin/env bash
# The GDI page device on its own, through wine's printer driver to a private
# cupsd: one job "Print Job" of two pages for a job of two pages and none for
# an empty one; code page 437 text printed as the letters it stands for;
# text measured and set at x = 8 - width ends on the right edge of the
# printable area; after a new line the text starts on its left edge, one
# line lower. With no printer at all a job ends quietly. With no default
# printer, or a file printer as the default, the job is kept as a file in
# PRINTS through the PDF printer, without reaching the queue. Builds its own
# small program with mingw, so needs no build.
source "$(dirname "$0")/../lib.sh"
WIN_NO_BUILD=1 source "$(dirname "$0")/wine.sh"
CXX=x86_64-w64-mingw32-g++-posix
for tool in "$CXX" gs pdftotext; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
SRC="$(cd "$(dirname "$0")/../../.." && pwd)"
trap 'win_cleanup; kill ${CUPSD:-} 2>/dev/null; _e2e_cleanup' EXIT

nice "$CXX" -std=c++20 -O1 -static -I"$SRC/src" "$SRC/tests/windows/page_device_check.cpp" \
  "$SRC/src/platform/win32/gdi_printer.cpp" "$SRC/src/platform/cp437.cpp" \
  "$SRC/src/platform/win32/files.cpp" "$SRC/src/platform/files_common.cpp" "$SRC/src/model/text.cpp" \
  -o "$E2E_DIR/check.exe" -lgdi32 -lwinspool || e2e_fail "the check program did not build"
win_prefix
CUPS_SERVER="$E2E_DIR/none.sock" win_run "$E2E_DIR/check.exe" none ||
  e2e_fail "without a printer the job had something to say"
e2e_cups
win_run "$E2E_DIR/check.exe" || e2e_fail "the job was not printed"
job="$(win_job 1)" || exit 1
grep -a -q "job-name.*Print Job" "$C/spool/c00001" || e2e_fail "the job is not named \"Print Job\""
[ "$(grep -a -c '^%%Page:' "$job")" == 2 ] || e2e_fail "not 2 pages: $(grep -a -c '^%%Page:' "$job")"
[ ! -e "$C/spool/c00002" ] || e2e_fail "the empty job reached the printer"

# Wine has no Microsoft Print to PDF: the queue stands in for it, and wine's
# driver writes PostScript into the file the job names, in a club folder
# named with accented letters.
mkdir -p "$E2E_DIR/Société" && cd "$E2E_DIR/Société"
# Once in a CI run the file job failed without a trace: what the job came to
# is shown, and a first failure is tried once more before it counts.
kept_run() {   # MODE: 0 when the job was kept as PRINTS/check.pdf
  rm -rf PRINTS
  wine "$E2E_DIR/check.exe" "$1" </dev/null >"$E2E_DIR/$1.out" 2>&1
  local code=$?
  wineserver -w
  return $code
}
for mode in file-default no-default; do
  if ! kept_run "$mode"; then
    echo "$mode, first try: $(grep -a outcome "$E2E_DIR/$mode.out")" >&2
    kept_run "$mode" || e2e_fail "$mode: the job was not kept as PRINTS/check.pdf: \
$(grep -a outcome "$E2E_DIR/$mode.out") $(ls PRINTS 2>&1)"
  fi
  [ "$(head -c 4 PRINTS/check.pdf 2>/dev/null)" == "%!PS" ] || e2e_fail "$mode: no file PRINTS/check.pdf"
  [ "$(grep -a -c '^%%Page:' PRINTS/check.pdf)" == 2 ] || e2e_fail "$mode: not 2 pages in the file"
done
[ ! -e "$C/spool/c00002" ] || e2e_fail "a job kept as a file reached the queue"
cd "$E2E_DIR"

gs -q -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile="$E2E_DIR/job.pdf" "$job" || e2e_fail "gs failed"
pdftotext -bbox "$E2E_DIR/job.pdf" "$E2E_DIR/words.html"
grep -q ">Müller<" "$E2E_DIR/words.html" && grep -q ">été<" "$E2E_DIR/words.html" ||
  e2e_fail "the accented text did not print as Müller été"
grep -q ">Two<" "$E2E_DIR/words.html" || e2e_fail "no text on page 2"
# The printable area, in points, from the driver's bounding box.
read -r left _ right _ < <(sed -n 's/^%%BoundingBox: //p' "$job" | head -1)
box() {   # xMin yMin xMax of the word $1
  sed -n "s/.*xMin=\"\([0-9.]*\)\" yMin=\"\([0-9.]*\)\" xMax=\"\([0-9.]*\)\".*>$1<.*/\1 \2 \3/p" \
    "$E2E_DIR/words.html"
}
read -r _ rightTop rightEnd <<<"$(box Right)"
read -r leftStart leftTop _ <<<"$(box Left)"
awk -v end="$rightEnd" -v r="$right" 'BEGIN { exit !(end > r - 0.5 && end < r + 1.5) }' ||
  e2e_fail "flush-right text ends at $rightEnd, the printable area at $right"
awk -v x="$leftStart" -v l="$left" 'BEGIN { exit !(x > l - 0.5 && x < l + 0.5) }' ||
  e2e_fail "after a new line text starts at $leftStart, the printable area at $left"
# One line of 12-point text: more than the 12 points of the font, less
# than two lines.
awk -v a="$rightTop" -v b="$leftTop" 'BEGIN { d = b - a; exit !(d > 12 && d < 20) }' ||
  e2e_fail "a new line moved down $rightTop -> $leftTop"

# A4 forced: the job's paper is A4, and the page is drawn at one scale for
# both axes, the largest at which 8 x 10.5 units fit the printable area, and
# centred: the line from x = 0 to x = 8 is 8 units of that scale long and
# lies inside the area.
win_run "$E2E_DIR/check.exe" a4 || e2e_fail "the A4 job was not printed"
job4="$(win_job 2)" || exit 1
grep -a -q '^%%BeginFeature: \*PageSize A4' "$job4" || e2e_fail "the job's paper is not A4"
gs -q -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile="$E2E_DIR/job4.pdf" "$job4" || e2e_fail "gs failed"
pdftotext -bbox "$E2E_DIR/job4.pdf" "$E2E_DIR/words.html"
read -r llx lly urx ury < <(sed -n 's/^%%BoundingBox: //p' "$job4" | head -1)
read -r _ top4 end4 <<<"$(box Right)"
read -r start4 _ _ <<<"$(box Left)"
# pdftotext measures from the top of the 842-point page; the text set at
# y = 2 stands two units below the top of the centred page, not 2 / 10.5 of
# the area's height (as a stretched page would put it).
awk -v s="$start4" -v e="$end4" -v y="$top4" -v l="$llx" -v b="$lly" -v r="$urx" -v t="$ury" 'BEGIN {
  w = r - l; h = t - b; unit = (w / 8 < h / 10.5) ? w / 8 : h / 10.5
  want = 842 - t + (h - 10.5 * unit) / 2 + 2 * unit
  exit !(s >= l - 0.5 && e <= r + 1.5 && (e - s) > 8 * unit - 1.5 && (e - s) < 8 * unit + 1.5 &&
         y > want - 5 && y < want + 5) }' ||
  e2e_fail "on A4 the line runs from $start4 to $end4, its top at $top4, in the area $llx..$urx x $lly..$ury"
e2e_pass
