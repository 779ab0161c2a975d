#!/bin/sh
# A statement of one key with ROWS detail rows (100000 unless given), for timing the export of
# long statements: komorebi export Template/A4/明細書.tda --records DIR/recordfile --out x.pdf
set -e
app=${1:?usage: long_statement.sh APP_FOLDER OUT_FOLDER [ROWS]}
out=${2:?usage: long_statement.sh APP_FOLDER OUT_FOLDER [ROWS]}
rows=${3:-100000}
mkdir -p "$out/recordfile"
head -n 1 "$app/recordfile/明細書.CSV" > "$out/recordfile/明細書.CSV"
key=$(head -n 1 "$app/recordfile/明細書.CSV" | cut -d, -f1)
line=$(grep -a "^$key	" "$app/recordfile/明細行.TAB" | head -n 1)
yes "$line" | head -n "$rows" > "$out/recordfile/明細行.TAB"
