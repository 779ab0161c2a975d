#!/bin/bash
# The card-sheet merge against the peer (gLabels 3 batch): the same A4 10-up job of 85 x 54 mm
# cards, name and company in IPAGothic and an EAN-13 from twelve digits, run by both for 100 and
# 1000 records and by komorebi alone for 10000 (its memory must stay flat). For each run: wall
# seconds and peak RSS (KB) by /usr/bin/time, as the peer's script measures; both PDFs must have
# the same page count, and every barcode on the first and the last page must decode.
#
#   bench/peer/run_compare.sh [BUILD_DIR]        (default: build beside this script's tree)
#
# PEER_DIR names the peer's job folder (default ../shared/peer-bench/glabels-card beside the project); SIZES the
# record counts run by both (default "100 1000"); SOLO those run by komorebi alone (default 10000).
# Needs glabels, time, poppler-utils, zbar-tools, python3. Exits 1 when a check fails.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
peer=${PEER_DIR:-$root/../shared/peer-bench/glabels-card}
sizes=${SIZES-100 1000}
solo=${SOLO-10000}
komorebi=$build/app/komorebi
maker=$build/tools/make_peer_card
for tool in "$komorebi" "$maker" "$peer/run_peer.sh"; do
    [ -x "$tool" ] || { echo "missing $tool (build the komorebi and make_peer_card targets)" >&2; exit 2; }
done
for tool in /usr/bin/time pdfinfo pdftoppm zbarimg python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/komorebi-peer.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

pages_of() { pdfinfo "$1" | awk '/^Pages:/{print $2}'; }

# The EAN-13s a page of a PDF decodes to, sorted, one a line.
codes_on() {
    local pdf=$1 page=$2 out=$work/scan
    rm -f "$out"*
    pdftoppm -r 300 -gray -f "$page" -l "$page" "$pdf" "$out"
    { zbarimg -q "$out"*.pgm 2>/dev/null || true; } | sed -n 's/^EAN-13://p' | sort
}

# The codes records first..last must give: 4901234 and the record number, then the check digit.
expected_codes() {
    python3 - "$1" "$2" <<'PY'
import sys
for i in range(int(sys.argv[1]), int(sys.argv[2]) + 1):
    d = f"4901234{i:05d}"
    s = sum(int(c) * (3 if k % 2 else 1) for k, c in enumerate(d))
    print(d + str((10 - s % 10) % 10))
PY
}

check_barcodes() {
    local who=$1 pdf=$2 n=$3 pages=$4
    local last_first=$(( (pages - 1) * 10 + 1 ))
    if [ "$(codes_on "$pdf" 1)" != "$(expected_codes 1 $(( n < 10 ? n : 10 )))" ]; then
        echo "FAIL $who $n: barcodes on page 1 do not all decode to their records" >&2; failed=1
    fi
    if [ "$(codes_on "$pdf" "$pages")" != "$(expected_codes "$last_first" "$n" | sort)" ]; then
        echo "FAIL $who $n: barcodes on page $pages do not all decode to their records" >&2; failed=1
    fi
}

run_komorebi() {
    local n=$1 dir=$work/komorebi-$1
    "$maker" "$dir" "$n" >/dev/null 2>&1
    env -u DISPLAY QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%e %M' -o "$dir/time.txt" \
        "$komorebi" export "$dir/card.tda" --out "$dir/komorebi.pdf" \
        --records "$dir/recordfile" --fields "$dir/fieldfile" >/dev/null 2>"$dir/stderr.txt" ||
        { echo "FAIL komorebi $n: $(cat "$dir/stderr.txt")" >&2; failed=1; echo "$n 0 0 0"; return; }
    read -r wall rss <"$dir/time.txt"
    echo "$n $wall $rss $(pages_of "$dir/komorebi.pdf")"
}

printf '%-8s %7s %9s %10s %9s %10s %6s %8s %8s\n' records pages peer_s komorebi_s peer_KB komorebi_KB speed× memory× checks
for n in $sizes; do
    read -r _ kwall krss kpages < <(run_komorebi "$n")
    read -r _ pwall prss ppages < <("$peer/run_peer.sh" "$n" "$work/peer-$n" 2>/dev/null)
    status=ok
    if [ "$kpages" != "$ppages" ] || [ "$kpages" != "$(( (n + 9) / 10 ))" ]; then
        echo "FAIL $n: komorebi wrote $kpages pages, the peer $ppages" >&2; failed=1; status=FAIL
    fi
    before=$failed
    [ "$kpages" -gt 0 ] && check_barcodes komorebi "$work/komorebi-$n/komorebi.pdf" "$n" "$kpages"
    [ "$ppages" -gt 0 ] && check_barcodes peer "$work/peer-$n/peer.pdf" "$n" "$ppages"
    [ "$failed" = "$before" ] || status=FAIL
    speed=$(python3 -c "print(f'{$pwall / max($kwall, 0.01):.1f}')")
    memory=$(python3 -c "print(f'{$krss / max($prss, 1):.2f}')")
    printf '%-8s %7s %9s %10s %9s %10s %6s %8s %8s\n' "$n" "$kpages" "$pwall" "$kwall" "$prss" "$krss" "$speed" "$memory" "$status"
    eval "krss_$n=$krss"
done
for n in $solo; do
    read -r _ kwall krss kpages < <(run_komorebi "$n")
    status=ok
    if [ "$kpages" != "$(( (n + 9) / 10 ))" ]; then
        echo "FAIL komorebi $n: $kpages pages" >&2; failed=1; status=FAIL
    else
        before=$failed
        check_barcodes komorebi "$work/komorebi-$n/komorebi.pdf" "$n" "$kpages"
        [ "$failed" = "$before" ] || status=FAIL
    fi
    printf '%-8s %7s %9s %10s %9s %10s %6s %8s %8s\n' "$n" "$kpages" - "$kwall" - "$krss" - - "$status"
    eval "krss_$n=$krss"
done
if [ -n "${krss_1000:-}" ] && [ -n "${krss_10000:-}" ]; then
    python3 -c "print(f'komorebi peak memory 10000 / 1000 records: {${krss_10000} / ${krss_1000}:.2f}')"
fi
exit $failed
