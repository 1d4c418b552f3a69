#!/usr/bin/env bash
# Checks that every relative link and image in the README and the documents under docs/
# leads to a file or folder that exists, so that a file moved or renamed cannot leave a
# reader at a dead end. Web and mail links, and links within a page (#anchor), are not
# followed; a path's #anchor is dropped and the path checked. Links in code (fenced
# blocks and `spans`) are examples, not links, and are skipped.
# Usage: check-links.sh [FILE.md...]    (README.md and docs/*.md by default)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ $# -gt 0 ]; then
    files=("$@")
else
    cd "$ROOT"
    files=(README.md docs/*.md)
fi

# Prints "LINE<tab>TARGET" for every inline link or image, ](target), and every reference
# definition, [name]: target, of a Markdown file.
link_targets() {
    awk '
        /^ *(```|~~~)/ { fenced = !fenced; next }
        fenced { next }
        {
            text = $0
            gsub(/`[^`]*`/, "", text)
            if (match(text, /^ *\[[^]]+\]:[ \t]*/)) {
                rest = substr(text, RSTART + RLENGTH)
                sub(/[ \t].*$/, "", rest)
                sub(/^</, "", rest)
                sub(/>$/, "", rest)
                print NR "\t" rest
                next
            }
            while (match(text, /\]\([^)]*\)/)) {
                target = substr(text, RSTART + 2, RLENGTH - 3)
                text = substr(text, RSTART + RLENGTH)
                sub(/^[ \t]+/, "", target)
                if (target ~ /^</) {
                    sub(/^</, "", target)
                    sub(/>.*$/, "", target)
                } else {
                    sub(/[ \t].*$/, "", target) # a title after the path
                }
                print NR "\t" target
            }
        }' "$1"
}

checked=0
broken=0
for file in "${files[@]}"; do
    if [ ! -f "$file" ]; then
        echo "check-links: $file does not exist" >&2
        broken=$((broken + 1))
        continue
    fi
    dir=$(dirname "$file")
    while IFS=$'\t' read -r line target; do
        case "$target" in
            '' | '#'*) continue ;;
        esac
        # Any scheme (https:, mailto:, ...) leads off the repository.
        [[ ! "$target" =~ ^[A-Za-z][A-Za-z0-9+.-]*: ]] || continue
        path="${target%%#*}"
        case "$path" in
            /*) resolved="$ROOT$path" ;; # from the repository's root, as the forge reads it
            *) resolved="$dir/$path" ;;
        esac
        checked=$((checked + 1))
        if [ ! -e "$resolved" ]; then
            echo "check-links: $file:$line: $target leads to no file" >&2
            broken=$((broken + 1))
        fi
    done < <(link_targets "$file")
done

if [ "$broken" -gt 0 ]; then
    echo "check-links: $broken broken link(s) in ${files[*]}" >&2
    exit 1
fi
echo "check-links: all $checked relative links in ${#files[@]} files lead to files that exist"
