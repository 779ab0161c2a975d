#!/bin/bash
# Exports every shipped template to PDF with two builds of komorebi and compares the pages rendered at
# 150 dpi pixel by pixel. Merge templates take the shipped record and field files. For each template:
# the pages of each PDF, the differing pixels and the largest difference of one channel.
#
#   tools/compare_exports.sh BEFORE_BIN AFTER_BIN [TEMPLATE_DIR]
#
# TEMPLATE_DIR defaults to the Template folder beside AFTER_BIN; the records come from beside it too.
# Needs poppler-utils (pdftoppm, pdfinfo) and python3. Exits 1 when any page differs.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 BEFORE_BIN AFTER_BIN [TEMPLATE_DIR]" >&2; exit 2; }
before=$(realpath "$1")
after=$(realpath "$2")
app=$(dirname "$after")
templates=${3:-$app/Template}
for tool in "$before" "$after"; do [ -x "$tool" ] || { echo "missing $tool" >&2; exit 2; }; done
for tool in pdftoppm pdfinfo python3; do command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }; done
work=$(mktemp -d "${TMPDIR:-/tmp}/komorebi-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
failed=0

# Differing pixels and the largest channel difference of two PPM files of one page.
compare_ppm() {
    python3 - "$1" "$2" <<'PY'
import sys

def read(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    return (int(fields[1]), int(fields[2])), data[pos + 1:]

(size_a, a), (size_b, b) = read(sys.argv[1]), read(sys.argv[2])
if size_a != size_b or len(a) != len(b):
    print("size", size_a, size_b)
    sys.exit(0)
if a == b:
    print(0, 0)
    sys.exit(0)
pixels, largest = 0, 0
for i in range(0, len(a), 3):
    if a[i:i + 3] != b[i:i + 3]:
        pixels += 1
        largest = max(largest, *(abs(a[i + k] - b[i + k]) for k in range(3)))
print(pixels, largest)
PY
}

while IFS= read -r -d '' tda; do
    name=${tda#"$templates"/}
    tag=$(echo "$name" | md5sum | cut -c1-8)
    args=(--year 2027 --month 1 --records "$app/recordfile" --fields "$app/fieldfile")
    for side in before after; do
        bin=$before
        [ $side = after ] && bin=$after
        if ! "$bin" export "$tda" --out "$work/$tag-$side.pdf" "${args[@]}" >"$work/$tag-$side.log" 2>&1; then
            echo "FAIL $name: the $side build did not export ($(head -c 200 "$work/$tag-$side.log"))"
            failed=1
            continue 2
        fi
        pdftoppm -r 150 "$work/$tag-$side.pdf" "$work/$tag-$side"
    done
    pages_before=$(pdfinfo "$work/$tag-before.pdf" | awk '/^Pages:/{print $2}')
    pages_after=$(pdfinfo "$work/$tag-after.pdf" | awk '/^Pages:/{print $2}')
    if [ "$pages_before" != "$pages_after" ]; then
        echo "FAIL $name: $pages_before pages before, $pages_after after"
        failed=1
        continue
    fi
    total=0
    largest=0
    for page in "$work/$tag-before"-*.ppm; do
        read -r pixels diff < <(compare_ppm "$page" "${page/-before-/-after-}")
        if [ "$pixels" = size ]; then
            echo "FAIL $name: page $(basename "$page") has another size after"
            failed=1
            continue
        fi
        total=$((total + pixels))
        [ "$diff" -gt "$largest" ] && largest=$diff
    done
    rm -f "$work/$tag"-*.ppm
    status=same
    if [ "$total" -ne 0 ]; then status=DIFFERS; failed=1; fi
    printf '%-8s %-40s pages %3s  differing pixels %8d  largest difference %3d\n' "$status" "$name" "$pages_after" \
        "$total" "$largest"
done < <(find "$templates" -name '*.tda' -print0 | sort -z)
exit $failed
