#!/usr/bin/env bash
# Validates the Turtle files of an LV2 bundle with sord_validate against the LV2 schemas that
# lv2-dev installs. Every error or warning fails.
#   validate-turtle.sh BUNDLE
set -euo pipefail

bundle=${1:?usage: $0 BUNDLE}
command -v sord_validate >/dev/null || { echo "sord_validate is missing (Debian package sordi)" >&2; exit 1; }

# The schemas: the .ttl files of the LV2 bundles lv2-dev installs; without dpkg, every bundle in
# the system LV2 folder.
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

# One finding is accepted: doap:maintainer and doap:release on the plug-in, whose domain is
# doap:Project. An lv2:Plugin is not declared a doap:Project by the LV2 schemas, yet lilv reads a
# plug-in's author from its doap:maintainer; declaring the plug-in a doap:Project as well would
# make lilv-based hosts (and JUCE's) file it under the class "Project" instead of a plug-in class.
accepted=$'^error: Subject not in domain <http://usefulinc.com/ns/doap#Project>\t[^\t]+\thttp://usefulinc.com/ns/doap#(maintainer|release)\t'

report=$(sord_validate -l "${schemas[@]}" "${files[@]}" 2>&1) || true
echo "$report"
faults=$(grep -v '^Found [0-9]* errors among' <<<"$report" | grep -vE "$accepted" | grep -c . || true)
if ! grep -q '^Found [0-9]* errors among' <<<"$report" || [ "$faults" -ne 0 ]; then
    echo "${#files[@]} Turtle files of $bundle: $faults faults" >&2
    exit 1
fi
echo "${#files[@]} Turtle files of $bundle valid against ${#schemas[@]} schema files"
