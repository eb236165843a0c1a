#!/usr/bin/env bash
# scripts/look never deletes or writes into what the user named: a folder with
# files in it, or a file, is refused before anything is installed or built.
#   look_test.sh SOURCE_DIR
set -uo pipefail
look=$1/scripts/look
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Every entry under the work folder, and each file's checksum.
tree() { (cd "$work" && find . | sort && find . -type f -exec md5sum {} + | sort); }

# expect_refused WHAT PATH: exit status 2, a message naming PATH, the tree under
# PATH byte for byte as before.
expect_refused() {
  local what=$1 path=$2 before after err status
  before=$(tree)
  err=$("$look" "$path" 2>&1 >/dev/null)
  status=$?
  after=$(tree)
  if [ "$status" -ne 2 ] || [[ "$err" != *"$(realpath -m "$path") is not an empty folder"* ]] || [ "$before" != "$after" ]; then
    echo "FAIL $what: status $status, message \"$err\", files before:"$'\n'"$before"$'\n'"after:"$'\n'"$after"
    failures=$((failures + 1))
  fi
}

mkdir -p "$work/desktop/sub"
echo notes >"$work/desktop/notes.txt"
echo deep >"$work/desktop/sub/deep.txt"
expect_refused "a folder with files" "$work/desktop"
mkdir -p "$work/hidden" && echo x >"$work/hidden/.only-a-dot-file"
expect_refused "a folder with only a hidden file" "$work/hidden"
echo text >"$work/file.txt"
expect_refused "a file" "$work/file.txt"

if "$look" --no-such-option >/dev/null 2>&1; then
  echo "FAIL an unknown option was accepted"
  failures=$((failures + 1))
fi
exit $((failures > 0))
