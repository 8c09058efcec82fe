#!/usr/bin/env bash
# A table edited as a spreadsheet edits it, packed as the README shows: dumped to CSV with a
# byte-order mark, a skill renamed, a check mark cleared, a flag 5 typed as 1 and a skill added at
# the end, in CR LF lines; then quorrel-pack --dry-run, which must name those four changes and
# touch nothing, and --backup --verbose, which must say them in the past tense and keep the old
# pair as the .bak files. A text dump through --from - then must change nothing, and a second
# --backup must keep the pair it replaced in place of the earlier .bak files. Prints what each run
# printed.
#
#   spreadsheet-edit.sh FOLDER QUORREL_DUMP QUORREL_PACK [RUNNER...]
#
# FOLDER is made empty and worked in with relative names; RUNNER (Wine, say) starts each program.
set -euo pipefail
folder=$1 dump=$2 pack=$3
shift 3
runner=("$@")
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"

fail() {
    echo "spreadsheet-edit: $*" >&2
    exit 1
}
# The program's standard output, with the CR a Windows console stream ends its lines in dropped.
run() {
    "${runner[@]}" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}
pack() {
    run "$pack" --data skills.mul --index skills.idx --codepage 1252 "$@"
}
# $1 says what printed $2, which must be $3.
expect_said() {
    printf '%s printed:\n%s\n' "$1" "$2"
    [[ "$2" == "$3" ]] || fail "$1 should have printed:"$'\n'"$3"
}

printf 'record,name,checked,flag\r\n0,Lanternwright,true,1\r\n1,Cloud Reading,true,1\r\n%s\r\n%s\r\n' \
    '2,Tide Lore,true,5' '3,Rope Splicing,false,0' >first.csv
said=$(pack --format csv --from first.csv --verbose)
expect_said "the first pack" "$said" "a new table was written: 4 skills in 4 records"
cp skills.mul old.mul && cp skills.idx old.idx

run "$dump" --data skills.mul --index skills.idx --codepage 1252 --format csv --bom \
    --output table.csv
sed -i -e 's/^0,Lanternwright,/0,Façade Carving,/' -e 's/^1,Cloud Reading,true,1/1,Cloud Reading,false,0/' \
    -e 's/^2,Tide Lore,true,5/2,Tide Lore,true,1/' table.csv
printf '4,Weaving Of Rushes,true,1\r\n' >>table.csv

said=$(pack --format csv --from table.csv --force --backup --dry-run)
expect_said "--dry-run" "$said" 'record 0: name "Lanternwright" would become "Façade Carving"
record 1 "Cloud Reading": flag 1 would become 0 (check mark cleared)
record 2 "Tide Lore": flag 5 would become 1 (still checked)
record 4: "Weaving Of Rushes" would be added, flag 1
the index would grow from 4 to 5 records'
cmp -s skills.mul old.mul && cmp -s skills.idx old.idx || fail "--dry-run changed the pair"
[[ ! -e skills.mul.bak && ! -e skills.idx.bak ]] || fail "--dry-run made .bak files"

said=$(pack --format csv --from table.csv --force --backup --verbose)
expect_said "--backup --verbose" "$said" 'record 0: name "Lanternwright" became "Façade Carving"
record 1 "Cloud Reading": flag 1 became 0 (check mark cleared)
record 2 "Tide Lore": flag 5 became 1 (still checked)
record 4: "Weaving Of Rushes" was added, flag 1
the index grew from 4 to 5 records'
cmp skills.mul.bak old.mul && cmp skills.idx.bak old.idx || fail "the .bak files are not the old pair"
echo "cmp skills.mul.bak old.mul && cmp skills.idx.bak old.idx: the same"

run "$dump" --data skills.mul --index skills.idx --codepage 1252 >table.txt
said=$(pack --from - --force -n <table.txt)
expect_said "--dry-run of its text dump, --from -" "$said" \
    "no skill would change, and both files would be written as they are"

# A second --backup replaces the earlier .bak pair with the pair it replaced.
cp skills.mul second.mul && cp skills.idx second.idx
pack --from - --force --backup <table.txt
cmp skills.mul.bak second.mul && cmp skills.idx.bak second.idx ||
    fail "a second --backup did not keep the pair it replaced"
echo "a second --backup: cmp of the .bak files with the pair it replaced: the same"
leftover=$(find . -mindepth 1 ! -name 'skills.*' ! -name 'old.*' ! -name 'second.*' ! -name '*.csv' \
    ! -name table.txt)
[[ -z "$leftover" ]] || fail "left beside the pair: $leftover"
