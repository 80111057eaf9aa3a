#!/usr/bin/env bash
# tools/run-example, through which tools/example and the README's test run the
# tool: the folder is taken from the caller's working directory and named as
# given, the report on a dictionary that is not CP932 is shown to its reason,
# and the folder holds nothing afterwards but what venoskal wrote.
# Usage: tests/run_example.sh VENOSKAL_BINARY SOURCE_DIR
set -euo pipefail
tool=$(realpath "$1")
script=$(realpath "$2")/tools/run-example
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
case_number=0

# run_case FOLDER DICTIONARY STATUS FILES LAST_LINES
#   FOLDER: what the script is given, from a working directory of its own.
#   DICTIONARY: CP932:TEXT or UTF-8:TEXT writes TEXT (UTF-8, with printf
#   escapes) to FOLDER/kolvane.dic in that encoding; "empty" makes FOLDER
#   without a dictionary; "absent" makes no FOLDER.
#   STATUS: the script's exit status. FILES: what FOLDER holds afterwards
#   ("absent": it still does not exist). LAST_LINES: how its output ends.
run_case() {
  local folder=$1 dictionary=$2 want_status=$3 want_files=$4 want_last=$5
  case_number=$((case_number + 1))
  local caller=$work/$case_number/caller
  mkdir -p "$caller"
  case $dictionary in
    absent) ;;
    empty) mkdir -p "$caller/$folder" ;;
    *) mkdir -p "$caller/$folder"
       printf '%b' "${dictionary#*:}" | iconv -f UTF-8 -t "${dictionary%%:*}" > "$caller/$folder/kolvane.dic" ;;
  esac
  local status=0
  (cd "$caller" && "$script" "$tool" "$folder") > "$work/out" 2> "$work/err" || status=$?
  local files=absent
  if [ -e "$caller/$folder" ]; then
    files=$(cd "$caller/$folder" && ls -A | tr '\n' ' ')
  fi
  printf '%b' "$want_last" > "$work/want"
  # An empty LAST_LINES asks for no output at all.
  local lines
  lines=$(wc -l < "$work/want")
  [ "$lines" -gt 0 ] || lines=+1
  if [ "$status" != "$want_status" ] || [ "$files" != "$want_files" ] ||
     ! diff -u "$work/want" <(tail -n "$lines" "$work/out"); then
    echo "FAILED: folder '$folder', dictionary '$dictionary'" >&2
    echo "  status $status (want $want_status), folder holds '$files' (want '$want_files')" >&2
    echo "  output:" >&2; sed 's/^/    /' "$work/out" "$work/err" >&2
    failed=1
  fi
}

done_line='VENOSKAT: インデックスファイル [kolvane.idx] が正常に作成されました。'
cannot_open='*****辞書ファイル[kolvane.dic] が開けません。*****************'
# folder names, as given
run_case mine 'CP932::あ;/朝/\r\n' 0 'kolvane.dic kolvane.idx ' "$done_line\n(exit status 71: the index is mine/kolvane.idx)\n"
run_case mine/ 'CP932::あ;/朝/\r\n' 0 'kolvane.dic kolvane.idx ' "$done_line\n(exit status 71: the index is mine/kolvane.idx)\n"
run_case ../up 'CP932::あ;/朝/\r\n' 0 'kolvane.dic kolvane.idx ' "$done_line\n(exit status 71: the index is ../up/kolvane.idx)\n"
run_case 'my dictionaries' 'CP932::あ;/朝/\r\n' 0 'kolvane.dic kolvane.idx ' "$done_line\n(exit status 71: the index is my dictionaries/kolvane.idx)\n"
# runs that fail
run_case mine 'CP932::あ;/朝/' 0 'kolvane.dic ' "*****エントリーの行末で改行されていません。*******\n(exit status 0: no index was written)\n"
run_case mine empty 0 '' "$cannot_open\n(exit status 0: no index was written)\n"
# a dictionary saved as UTF-8: its first kana reads as 縺 in CP932
run_case mine 'UTF-8::か;/川/\r\n' 0 'kolvane.dic ' "*****不正な文字[縺]で始まるエントリーがあります。***\n(exit status 0: no index was written)\n"
# no such folder: the script says so and makes none
run_case mine absent 1 absent ''
grep -q 'There is no folder mine ' "$work/err" || { echo "FAILED: no message for a missing folder" >&2; failed=1; }
exit $failed
