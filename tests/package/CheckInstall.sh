#!/usr/bin/env bash
# Installs the build into a scratch folder as the package lays it out under
# /usr and checks what a desktop system reads there: every part is in its
# place, the icons have the sizes their folders name, the sample folder has no
# build leftovers, and the desktop entry, the software centre's metadata and
# the manual pages pass their validators (each where it is installed).
# Usage: CheckInstall.sh BUILD_DIR ICON_SIZES...
set -u
build=$1
shift
faults=0
fault() {
    echo "fault: $*"
    faults=$((faults + 1))
}
# validate TOOL COMMAND...: runs a validator that prints nothing when all is
# well, when its TOOL is installed.
validate() {
    local tool=$1
    shift
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "not checked: $tool is not installed"
        return
    fi
    local report
    report=$("$@" 2>&1) || fault "$tool failed"
    [[ -z $report ]] || fault "$tool reports: $report"
}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || fault "cmake --install failed"
usr=$root/usr

for part in bin/brackwen bin/brackwen-cli \
    share/applications/brackwen.desktop share/mime/packages/brackwen.xml \
    share/metainfo/org.example.brackwen.metainfo.xml share/icons/hicolor/scalable/apps/brackwen.svg \
    share/man/man1/brackwen.1.gz share/man/man1/brackwen-cli.1.gz \
    share/bash-completion/completions/brackwen-cli \
    share/doc/brackwen/copyright share/doc/brackwen/changelog.gz \
    share/brackwen/brackwen.ini share/brackwen/terrain-edges.ini share/brackwen/obstacle.ini \
    share/brackwen/game/data/vdsprite.lod share/brackwen/maps/Lakes36.vdm; do
    [[ -f $usr/$part ]] || fault "$part is not installed"
done
for size in "$@"; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/brackwen.png
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$icon" 2>/dev/null)
    [[ ${width:-} == "$size" && ${height:-} == "$size" ]] || fault "$icon is not a ${size}x${size} picture"
done
leftovers=$(find "$usr/share/brackwen" -name '.*')
[[ -z $leftovers ]] || fault "the sample folder holds $leftovers"

validate desktop-file-validate desktop-file-validate "$usr/share/applications/brackwen.desktop"
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$usr/share/metainfo/org.example.brackwen.metainfo.xml" ||
        fault "appstreamcli validate failed"
else
    echo "not checked: appstreamcli is not installed"
fi
# man's warnings come on standard error; the page itself is not wanted.
manual_warnings() {
    LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null
}
for page in "$usr"/share/man/man1/*.1.gz; do
    validate man manual_warnings "$page"
done

echo "$faults faults"
((faults == 0))
