#!/usr/bin/env bash
# Prints how large the tests are beside the code: non-blank lines of the
# tracked files under tests/, over those under the code folders (pictures
# not counted). bench/ and scripts/ count on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."

nonblank() { # git pathspecs
    git ls-files -z -- "$@" | xargs -0 cat | grep -c '[^[:space:]]'
}

tests=$(nonblank tests)
code=$(nonblank app framework windows menus resources ':!*.jpg' ':!*.png')
awk -v t="$tests" -v c="$code" \
    'BEGIN { printf "test ratio: %d test lines / %d code lines = %.2f\n", t, c, t / c }'
