#!/bin/sh
# Regenerates assets/builtin-text.txt (code page 932, CR LF) from its UTF-8 source.
set -e
here=$(dirname "$0")
sed 's/$/\r/' "$here/builtin-text.utf8.txt" | iconv -f UTF-8 -t CP932 > "$here/../assets/builtin-text.txt"
