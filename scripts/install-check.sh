#!/usr/bin/env bash
# Installs a built package (path as $1) as a user would, with apt-get, opens every installed
# example document with the installed zebctl, lists the shipped standard profiles with it, and
# removes the package again. Needs root; the
# package must not be installed before. Exits non-zero on the first fault.
set -euo pipefail
deb=$(realpath "$1")
root=$(cd "$(dirname "$0")/.." && pwd)

if dpkg -s zeb >/dev/null 2>&1; then
    echo "install check: zeb is installed already; remove it first" >&2
    exit 1
fi
cleanup() { apt-get remove -y zeb >/dev/null 2>&1 || true; }
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null
count=0
for json in "$root"/examples/*.json; do
    zms=/usr/share/zeb/examples/$(basename "$json" .json).zms
    [ -f "$zms" ] || { echo "install check: $zms is not installed" >&2; exit 1; }
    # The dump is read whole before it is searched: grep -q would stop reading at the first
    # match, and with pipefail zebctl's broken pipe on a long dump would count as a failure.
    dump=$(/usr/bin/zebctl dump "$zms") || {
        echo "install check: zebctl dump $zms failed" >&2
        exit 1
    }
    grep -q '"record"' <<<"$dump" || {
        echo "install check: zebctl dump $zms gave no document" >&2
        exit 1
    }
    count=$((count + 1))
done
[ $count -gt 0 ] || { echo "install check: no example documents" >&2; exit 1; }
# The installed zebctl finds every shipped standard profile where the package put it.
listed=$(/usr/bin/zebctl standards || true)
profiles=0
for json in "$root"/standards/profiles/*.json; do
    id=$(sed -n 's/^    "id": "\([^"]*\)".*/\1/p' "$json")
    grep -q "^id=$id .* source=shipped " <<<"$listed" || {
        echo "install check: zebctl standards does not list the shipped profile $id" >&2
        exit 1
    }
    profiles=$((profiles + 1))
done
apt-get remove -y zeb >/dev/null
trap - EXIT
if [ -e /usr/bin/zebctl ]; then
    echo "install check: /usr/bin/zebctl is still there after the removal" >&2
    exit 1
fi
echo "install check: installed, opened $count example documents with zebctl dump, found $profiles standard profiles, removed"
