#!/usr/bin/env bash
# Validates the Turtle files of an LV2 bundle with sord_validate against the LV2 specification's
# own schemas (those lv2-dev installs). Every error or warning fails.
#   validate-turtle.sh BUNDLE
set -euo pipefail

bundle=${1:?usage: $0 BUNDLE}
command -v sord_validate >/dev/null || { echo "sord_validate is missing (Debian package sordi)" >&2; exit 1; }

# The schemas: the .ttl files of the specification bundles lv2-dev installs; without dpkg, every
# bundle in the system LV2 folder.
schemas=()
if command -v dpkg >/dev/null && dpkg -L lv2-dev >/dev/null 2>&1; then
    while IFS= read -r file; do
        schemas+=("$file")
    done < <(dpkg -L lv2-dev | grep -E '^/usr/lib/lv2/[^/]+\.lv2/[^/]+\.ttl$')
else
    schemas=(/usr/lib/lv2/*.lv2/*.ttl)
fi
[ ${#schemas[@]} -gt 0 ] || { echo "no LV2 schemas found (Debian package lv2-dev)" >&2; exit 1; }

shopt -s nullglob
files=("$bundle"/*.ttl)
[ ${#files[@]} -gt 0 ] || { echo "no Turtle files in $bundle" >&2; exit 1; }

# The exit code and the report both count: every line but the closing summary is a fault, and the
# summary must count no errors.
status=0
report=$(sord_validate "${schemas[@]}" "${files[@]}" 2>&1) || status=$?
echo "$report"
summary=$(tail -n 1 <<<"$report")
if [ $status -ne 0 ] || [ "$(wc -l <<<"$report")" -ne 1 ] || ! grep -q '^Found 0 errors among' <<<"$summary"; then
    echo "${#files[@]} Turtle files of $bundle: faults found" >&2
    exit 1
fi
echo "${#files[@]} Turtle files of $bundle valid against ${#schemas[@]} schema files"
