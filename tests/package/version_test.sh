#!/usr/bin/env bash
# The version text: the source revision is what `git describe --always --dirty` says at the
# top of a checkout and "unknown" in an exported tree, a folder inside another checkout or
# without git; both programs print "Pelmora VERSION (revision R)" with the revision of the
# source they were built from, and run records and case files store the same text.
#   version_test.sh SOURCE_FOLDER CMAKE PROJECT_VERSION PELMORA_CLI [PELMORA]
set -euo pipefail
source=$(realpath "$1")
cmake=$2
version=$3
cli=$4
gui=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
revision_of() { "$cmake" -DSOURCE="$1" -P "$source/cmake/SourceRevision.cmake" 2>&1; }
expect() { # LABEL FOLDER EXPECTED-PATTERN
    local got
    got=$(revision_of "$2")
    [[ "$got" =~ ^$3$ ]] || fail "$1: revision '$got', expected /$3/"
}
git_in() { git -C "$1" -c user.name=Tester -c user.email=tester@example.org "${@:2}"; }

repo=$work/repo
mkdir -p "$repo/sub"
git_in "$repo" init -q
echo one > "$repo/text.txt"
git_in "$repo" add text.txt
git_in "$repo" commit -q -m one
expect "a commit without a tag" "$repo" "$(git -C "$repo" rev-parse --short HEAD)"
git_in "$repo" tag -a v2.0 -m "version 2.0"
expect "a tagged commit" "$repo" "v2\.0"
echo two > "$repo/text.txt"
expect "a changed file" "$repo" "v2\.0-dirty"
git_in "$repo" commit -q -a -m two
expect "a commit after the tag" "$repo" "v2\.0-1-g[0-9a-f]{7,}"
expect "a folder inside a checkout" "$repo/sub" "unknown"
mkdir "$work/export"
git -C "$repo" archive HEAD | tar -x -C "$work/export"
expect "an exported tree" "$work/export" "unknown"
got=$(PATH=/nonexistent "$cmake" -DSOURCE="$repo" -P "$source/cmake/SourceRevision.cmake" 2>&1)
[ "$got" = unknown ] || fail "without git: revision '$got', expected 'unknown'"

# The programs built from this source name its revision; a checkout's "-dirty" is as it was
# when the build was configured, so only the revision before it is compared.
if [ "$(git -C "$source" rev-parse --show-toplevel 2> /dev/null)" = "$source" ]; then
    revision="$(git -C "$source" describe --always)(-dirty)?"
else
    revision=unknown
fi
text=$("$cli" --version) || fail "pelmora-cli --version exited $?"
[[ "$text" =~ ^Pelmora\ ${version//./\\.}\ \(revision\ ${revision}\)$ ]] ||
    fail "pelmora-cli --version: '$text', expected Pelmora $version (revision $revision)"
if [ -n "$gui" ]; then
    shown=$(env -u DISPLAY -u WAYLAND_DISPLAY "$gui" --version) ||
        fail "pelmora --version exited $?"
    [ "$shown" = "$text" ] || fail "pelmora --version: '$shown', pelmora-cli's: '$text'"
fi
"$cli" record "$source/samples" > "$work/record"
grep -qxF "version	${text#Pelmora }" "$work/record" ||
    fail "the run record does not state '${text#Pelmora }': $(grep ^version "$work/record")"
"$cli" case new "$work/case" "$source/samples" > /dev/null
"$cli" case run "$work/case.pelmora" > /dev/null
"$cli" case log "$work/case.pelmora" | grep -qF "run 1 by $text:" ||
    fail "the case file's run does not name '$text'"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "version: $text"
